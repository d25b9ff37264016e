#include <gtest/gtest.h>

#include "fs/WindowsRules.h"

// The Windows layer's decisions, on the values Windows would give them.
namespace rules = kv::fs::windows_rules;

TEST (WindowsRules, OnlyNameSurrogatesAreLinks)
{
    struct Row
    {
        const char* what;
        juce::uint32 tag;
        bool link;
    };

    for (const auto& row : { Row { "junction (mount point)", 0xA0000003u, true }, Row { "symbolic link", 0xA000000Cu, true },
                             Row { "OneDrive placeholder", 0x9000001Au, false }, Row { "deduplicated file", 0x80000013u, false },
                             Row { "container layer", 0x90001018u, false }, Row { "AF_UNIX socket", 0x80000023u, false } })
        EXPECT_EQ (rules::isNameSurrogate (row.tag), row.link) << row.what;
}

TEST (WindowsRules, OnlyAdministratorsSystemAndTrustedInstallerMayChangeAFolderWeScheduleIn)
{
    using Entry = rules::AccessEntry;
    using Type = Entry::Type;
    constexpr juce::uint32 readAndExecute = 0x001200A9, writeAttributes = 0x0100, deleteChild = 0x0040, fullControl = 0x001F01FF;

    struct Row
    {
        const char* what;
        bool ownerTrusted, hasList;
        std::vector<Entry> entries;
        bool othersMayChange;
    };

    const std::vector<Row> rows {
        { "Program Files: users read, administrators change", true, true, { { Type::allowed, false, readAndExecute, false }, { Type::allowed, false, fullControl, true } }, false },
        { "users may write attributes (an empty folder made a junction)", true, true, { { Type::allowed, false, writeAttributes, false } }, true },
        { "users may delete children", true, true, { { Type::allowed, false, deleteChild, false } }, true },
        { "a grant that only children inherit", true, true, { { Type::allowed, true, fullControl, false } }, false },
        { "a denial is no grant", true, true, { { Type::denied, false, fullControl, false } }, false },
        { "an entry the rule does not read", true, true, { { Type::other, false, readAndExecute, false } }, true },
        { "owned by a user", false, true, { { Type::allowed, false, fullControl, true } }, true },
        { "no list grants everyone everything", true, false, {}, true },
    };

    for (const auto& row : rows)
        EXPECT_EQ (rules::othersMayChange (row.ownerTrusted, row.hasList, row.entries), row.othersMayChange) << row.what;
}

TEST (WindowsRules, EveryPendingPairIsReadSoNothingIsScheduledTwice)
{
    const auto value = [] (const std::u16string& text)
    { return rules::readPendingRenames (text.data(), text.size()); };
    using namespace std::string_literals;

    // Two deletes, a rename and the closing NUL: the empty targets are strings of their own.
    const auto pairs = value (u"\\??\\C:\\a\0\0\\??\\C:\\b\0\\??\\C:\\c\0\\??\\V:\\d\0\0\0"s);
    ASSERT_EQ (pairs.size(), 3u);
    EXPECT_TRUE (rules::isScheduledForRemoval (pairs, "\\??\\C:\\a"));
    EXPECT_TRUE (rules::isScheduledForRemoval (pairs, "\\??\\v:\\D"));
    EXPECT_FALSE (rules::isScheduledForRemoval (pairs, "\\??\\C:\\b")); // renamed, not deleted
    EXPECT_EQ (pairs[1].second, "\\??\\C:\\c");

    EXPECT_EQ (value (u"\\??\\C:\\a\0\0"s).size(), 1u);
    EXPECT_TRUE (value (u""s).empty());
}
