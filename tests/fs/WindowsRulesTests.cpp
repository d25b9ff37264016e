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

TEST (WindowsRules, AnItemKeepsItsIdentityThroughARenameOnEveryFileSystem)
{
    using Facts = rules::IdentityFacts;

    // What Windows gives for one item before and after a rename within its folder.
    struct Row
    {
        const char* what;
        Facts before, after;
        bool same;
    };

    const auto ntfs = [] (juce::uint8 idByte, juce::uint64 index)
    {
        Facts f;
        f.fileSystem = "NTFS";
        f.hasFileIdInfo = true;
        f.volumeSerial64 = 0x1234567890abcdefull;
        f.fileId128[0] = idByte;
        f.volumeSerial32 = 0x90abcdef;
        f.fileIndex = index;
        return f;
    };
    auto refsHigh = ntfs (7, 7);
    refsHigh.fileSystem = "ReFS";
    refsHigh.fileId128[12] = 1; // differs only above the 64 bits the old index shows
    auto refsLow = refsHigh;
    refsLow.fileId128[12] = 2;

    const auto fat = [] (const char* system, juce::uint64 index, juce::uint64 created, bool folder)
    {
        Facts f;
        f.fileSystem = system;
        f.volumeSerial32 = 0xC0DE;
        f.fileIndex = index;
        f.creationTime = created;
        f.isFolder = folder;
        return f;
    };
    auto olderWindows = ntfs (7, 7);
    olderWindows.hasFileIdInfo = false;

    const std::vector<Row> rows {
        { "NTFS, renamed", ntfs (7, 7), ntfs (7, 7), true },
        { "NTFS, another item", ntfs (7, 7), ntfs (8, 8), false },
        { "ReFS, two items whose 64-bit index is the same", refsHigh, refsLow, false },
        { "FAT32, renamed: the index follows the entry", fat ("FAT32", 3, 133000000000000000ull, true), fat ("FAT32", 9, 133000000000000000ull, true), true },
        { "exFAT, renamed", fat ("exFAT", 3, 133000000000000000ull, true), fat ("exFAT", 4, 133000000000000000ull, true), true },
        { "exFAT, another folder put in its place", fat ("exFAT", 3, 133000000000000000ull, true), fat ("exFAT", 3, 133000000000100000ull, true), false },
        { "FAT, a file in place of the folder made at the same moment", fat ("FAT", 3, 5, true), fat ("FAT", 3, 5, false), false },
        { "no FileIdInfo (before Windows 8), renamed", olderWindows, olderWindows, true },
    };

    for (const auto& row : rows)
        EXPECT_EQ (rules::identityFrom (row.before) == rules::identityFrom (row.after), row.same) << row.what;

    EXPECT_TRUE (rules::isFatFamily ("FAT32"));
    EXPECT_TRUE (rules::isFatFamily ("exfat"));
    EXPECT_FALSE (rules::isFatFamily ("NTFS"));
}

TEST (WindowsRules, AnNtStatusIsReadBeforeItIsMappedSoBusyIsNeverDeniedNorDeniedBusy)
{
    using Step = rules::NtStep;
    using Code = kv::fs::FsStatus::Code;

    struct Row
    {
        const char* what;
        juce::uint32 status;
        Step step;
        bool isFolder;
        Code code;
    };

    // ERROR_ACCESS_DENIED is what ntdll makes of delete pending, a security filter's refusal, a
    // folder with a handle open inside and a loaded module alike: only the NTSTATUS tells them apart.
    for (const auto& row : {
             Row { "delete pending, opening a name an antivirus still holds", rules::statusDeletePending, Step::open, false, Code::busy },
             Row { "delete pending, renaming it", rules::statusDeletePending, Step::rename, true, Code::busy },
             Row { "a filter refuses to open it", 0xC0000022u, Step::open, false, Code::denied },
             Row { "a filter refuses to rename a file", 0xC0000022u, Step::rename, false, Code::denied },
             Row { "a folder with a handle open inside is renamed", 0xC0000022u, Step::rename, true, Code::busy },
             Row { "a filter refuses the delete", 0xC0000022u, Step::dispose, true, Code::denied },
             Row { "a loaded module is deleted", 0xC0000121u, Step::dispose, false, Code::busy },
             Row { "a sharing violation", 0xC0000043u, Step::open, false, Code::busy },
             Row { "a mapped file", 0xC0000243u, Step::dispose, false, Code::busy },
             Row { "a folder not empty", 0xC0000101u, Step::dispose, true, Code::notEmpty },
             Row { "the name is taken", 0xC0000035u, Step::rename, false, Code::exists },
             Row { "the name is not there", 0xC0000034u, Step::open, false, Code::notFound },
             Row { "a full disk", 0xC000007Fu, Step::open, false, Code::noSpace },
             Row { "a card taken out", 0xC0000013u, Step::open, false, Code::notReady },
             Row { "a write-protected card", 0xC00000A2u, Step::dispose, false, Code::denied },
         })
    {
        const auto code = rules::codeFromNtStatus (row.status, row.step, row.isFolder);
        ASSERT_TRUE (code.has_value()) << row.what;
        EXPECT_EQ (*code, row.code) << row.what;
    }

    // Left to the mapped Win32 error.
    EXPECT_FALSE (rules::codeFromNtStatus (0xC0000001u /* STATUS_UNSUCCESSFUL */, Step::open, false).has_value());

    // Opened once more, as itself, for that call only.
    EXPECT_TRUE (rules::opensAsItselfAfter (0xC000050Bu)) << "a link at the name";
    EXPECT_TRUE (rules::opensAsItselfAfter (0xC0000279u)) << "a tag no filter handles: an app execution alias";
    EXPECT_TRUE (rules::opensAsItselfAfter (0xC000000Du)) << "a Windows without OBJ_DONT_REPARSE";
    EXPECT_FALSE (rules::opensAsItselfAfter (0xC0000022u)) << "a refusal is not a reason to look again";
    EXPECT_FALSE (rules::opensAsItselfAfter (0xC0000034u));
}

TEST (WindowsRules, TheWayDownFromADefaultVolumeRootPassesAndOnlyAReplaceablePartStopsIt)
{
    using Entry = rules::AccessEntry;
    using Type = Entry::Type;
    using Part = rules::PartOfPath;

    // Masks as icacls shows them on a default Windows 10 or 11.
    constexpr juce::uint32 full = 0x001F01FF, modify = 0x001301BF, readExecute = 0x001200A9, genericAll = 0x10000000,
                           genericReadExecute = 0xA0000000, addSubfolder = 0x0004, usersWrite = 0x0116 /* WD, AD, WEA, WA */;
    const Entry admins { Type::allowed, false, full, true }, system { Type::allowed, false, full, true },
        usersRead { Type::allowed, false, readExecute, false }, creatorOwner { Type::allowed, true, genericAll, false };

    struct Row
    {
        const char* folder;
        bool ownerTrusted;
        std::vector<Entry> entries;
        bool replaceableAbove, changeableAt;
    };

    const std::vector<Row> rows {
        { "C:\\ (Authenticated Users: add a subfolder here, modify what they make)",
          true,
          { admins, system, usersRead, { Type::allowed, true, modify, false }, { Type::allowed, false, addSubfolder, false } },
          false,
          true },
        { "C:\\Program Files (TrustedInstaller's)",
          true,
          { { Type::allowed, false, full, true }, { Type::allowed, true, genericAll, true }, { Type::allowed, false, modify, true }, { Type::allowed, false, modify, true }, usersRead, { Type::allowed, true, genericReadExecute, false }, creatorOwner, { Type::allowed, false, readExecute, false } /* all application packages */ },
          false,
          false },
        { "C:\\Program Files\\Common Files (TrustedInstaller's)",
          true,
          { { Type::allowed, false, full, true }, { Type::allowed, false, modify, true }, { Type::allowed, false, modify, true }, usersRead, creatorOwner },
          false,
          false },
        { "Common Files\\VST3, made by an elevated installer (inherited)", true, { { Type::allowed, false, genericAll, true }, system, admins, usersRead, creatorOwner }, false, false },
        { "C:\\ProgramData (Users: write data, add subfolders, attributes)", true, { system, admins, creatorOwner, usersRead, { Type::allowed, false, usersWrite, false } }, false, true },
        { "C:\\ProgramData\\Korvane, made by a standard user", false, { system, admins, usersRead, { Type::allowed, false, usersWrite, false } }, true, true },
        { "C:\\Plugins, made by an administrator (inherits Modify for Authenticated Users)", true, { admins, system, usersRead, { Type::allowed, false, modify, false } }, true, true },
        { "a folder that lets users delete its children", true, { admins, { Type::allowed, false, 0x0040, false } }, true, true },
        { "a folder that lets users change its permissions", true, { admins, { Type::allowed, false, 0x00040000, false } }, true, true },
    };

    for (const auto& row : rows)
    {
        EXPECT_EQ (rules::othersMayChange (row.ownerTrusted, true, row.entries, Part::aboveTheDestination), row.replaceableAbove) << row.folder;
        EXPECT_EQ (rules::othersMayChange (row.ownerTrusted, true, row.entries, Part::destinationOrBelow), row.changeableAt) << row.folder;
    }
}
