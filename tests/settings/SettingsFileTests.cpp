#include <gtest/gtest.h>

#include <thread>

#include "platform/PlatformFolders.h"
#include "settings/DestinationSettings.h"
#include "support/Sandbox.h"

using kv::test::Sandbox;

namespace
{
    juce::String fileText (const juce::File& file)
    {
        auto block = kv::test::readBytes (file);
        return juce::String::fromUTF8 (static_cast<const char*> (block.getData()), (int) block.getSize());
    }

    const juce::String indent = juce::String::repeatedString (" ", 24);

    // The layout every installer of the maker writes, spelled out from its rules: header and
    // an empty line; each attribute as space, name, =", value, "; a CRLF and 24 spaces before
    // an attribute once more than 60 characters of attributes stand on the line.
    juce::String expectedFileFor (const juce::String& clap, const juce::String& vst3, const juce::String& aax)
    {
        const std::pair<juce::String, juce::String> attributes[] = {
            { "Important_Note:", settings::noteText }, { "CLAP_Path", clap }, { "VST3_Path", vst3 }, { "AAX_Path", aax }
        };

        juce::String text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Plugin_Manager_Settings";
        int onLine = 0;

        for (const auto& [name, value] : attributes)
        {
            if (onLine > 60)
            {
                text << "\r\n"
                     << indent;
                onLine = 0;
            }

            const auto written = " " + name + "=\"" + value + "\"";
            text << written;
            onLine += written.length();
        }

        return text + "/>\r\n";
    }

    struct SettingsFile : public ::testing::Test
    {
        Sandbox sandbox;
        juce::File makerFolder;
        DestinationFolders folders;

        void load() { loadDestinationSettings (makerFolder, folders); }
    };
}

TEST (SettingsBytes, CreatedFileHasTheSharedLayoutByteForByte)
{
    Sandbox sandbox;
    const auto file = sandbox.root().getChildFile ("settings.txt");

    const juce::StringArray windowsDefaults { "C:\\Program Files\\Common Files\\VST3",
                                              "C:\\Program Files\\Common Files\\CLAP",
                                              "C:\\Program Files\\Common Files\\Avid\\Audio\\Plug-Ins" };
    ASSERT_TRUE (settings::writeSettingsDocument (*settings::createSettingsDocument (windowsDefaults), file));

    EXPECT_EQ (fileText (file), expectedFileFor (windowsDefaults[1], windowsDefaults[0], windowsDefaults[2]));

    // Written out by hand once, for the defaults: CLAP and VST3 share the second line.
    EXPECT_TRUE (fileText (file).endsWith ("\"\r\n" + indent + " CLAP_Path=\"C:\\Program Files\\Common Files\\CLAP\""
                                                               " VST3_Path=\"C:\\Program Files\\Common Files\\VST3\"\r\n"
                                           + indent + " AAX_Path=\"C:\\Program Files\\Common Files\\Avid\\Audio\\Plug-Ins\"/>\r\n"));
}

TEST (SettingsBytes, EscapesAndNonAsciiRoundTrip)
{
    Sandbox sandbox;
    const auto file = sandbox.root().getChildFile ("settings.txt");
    const auto awkward = juce::String::fromUTF8 ("D:\\A \"q\" & <b> ^c` \xc3\xa9t\xc3\xa9");

    settings::writeSettingsDocument (*settings::createSettingsDocument (juce::StringArray { "v", awkward, "a" }), file);
    const auto text = fileText (file);

    EXPECT_TRUE (text.contains ("CLAP_Path=\"D:\\A &quot;q&quot; &amp; &lt;b&gt; &#94;c&#96; &#233;t&#233;\""));
    EXPECT_EQ (text.replace ("\r\n", "").indexOfAnyOf ("\r\n"), -1) << "every line break is CRLF";

    const auto document = settings::readSettingsDocument (file);
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getStringAttribute ("CLAP_Path"), awkward);
}

TEST_F (SettingsFile, MissingFileIsCreatedWithDefaultsButNoFolders)
{
    sandbox.makerFolder().createDirectory();
    load();

    EXPECT_EQ (makerFolder, sandbox.makerFolder());
    EXPECT_EQ (folders[0], sandbox.windowsPath ("C:/Program Files/Common Files/VST3"));
    EXPECT_EQ (folders[1], sandbox.windowsPath ("C:/Program Files/Common Files/CLAP"));
    EXPECT_EQ (folders[2], sandbox.windowsPath ("C:/Program Files/Common Files/Avid/Audio/Plug-Ins"));

    ASSERT_TRUE (sandbox.settingsFile().existsAsFile());
    EXPECT_EQ (fileText (sandbox.settingsFile()),
               expectedFileFor (folders[1].getFullPathName(), folders[0].getFullPathName(), folders[2].getFullPathName()));
    EXPECT_FALSE (sandbox.windowsPath ("C:/Program Files").exists());
}

TEST_F (SettingsFile, MissingMakerFolderCreatesNothing)
{
    load();

    EXPECT_FALSE (sandbox.makerFolder().exists());
    EXPECT_EQ (folders[0], sandbox.windowsPath ("C:/Program Files/Common Files/VST3"));
    EXPECT_EQ (sandbox.root().findChildFiles (juce::File::findFilesAndDirectories, true).size(), 0);
}

TEST_F (SettingsFile, FileThatIsNotXmlKeepsDefaultsAndStaysUntouched)
{
    for (const juce::String content : { "this is not xml", "<?xml version=\"1.0\"?>", "" })
    {
        kv::test::writeText (sandbox.settingsFile(), content);
        load();

        EXPECT_EQ (folders[0], sandbox.windowsPath ("C:/Program Files/Common Files/VST3")) << content;
        EXPECT_EQ (fileText (sandbox.settingsFile()), content);
    }
}

TEST_F (SettingsFile, BinaryOrHugeFileCountsAsUnreadable)
{
    juce::MemoryBlock binary;
    for (int i = 0; i < 4096; ++i)
        binary.append ("\0\xff<\x01", 4);
    kv::test::writeBytes (sandbox.settingsFile(), binary.getData(), binary.getSize());
    load();
    EXPECT_EQ (folders[1], sandbox.windowsPath ("C:/Program Files/Common Files/CLAP"));
    EXPECT_EQ (kv::test::readBytes (sandbox.settingsFile()), binary);

    // A valid document padded past the size limit is not read either.
    const auto huge = "<Plugin_Manager_Settings VST3_Path=\"D:/Huge\"/>" + juce::String::repeatedString (" ", (int) settings::maximumFileBytes);
    kv::test::writeText (sandbox.settingsFile(), huge);
    load();
    EXPECT_FALSE (sandbox.windowsPath ("D:/Huge").exists());
}

TEST_F (SettingsFile, InvalidUtf8CountsAsUnreadable)
{
    // Found by fuzzing: a path with broken UTF-8 sent JUCE's parent-folder walk into endless
    // recursion, so such a file crashed the installer at start-up.
    const auto found = juce::File (KV_TEST_SOURCE_DIR).getChildFile ("fuzz/regressions/settings/crash-7979ba2f9cee0affd7c364d0f18326ed5e1a447f");
    const auto bytes = kv::test::readBytes (found);
    ASSERT_GT (bytes.getSize(), 0u);
    kv::test::writeBytes (sandbox.settingsFile(), bytes.getData(), bytes.getSize());

    load();

    EXPECT_EQ (folders[0], sandbox.windowsPath ("C:/Program Files/Common Files/VST3"));
    EXPECT_EQ (kv::test::readBytes (sandbox.settingsFile()), bytes);
    EXPECT_EQ (settings::readSettingsDocument (sandbox.settingsFile()), nullptr);
}

TEST_F (SettingsFile, MalformedTextOrDeepNestingCountsAsUnreadable)
{
    // Found by fuzzing: a character reference past Unicode parses into malformed text, on
    // which JUCE's tokeniser read past the end of its buffer; and the parser recurses once
    // per nested element. Each file is left as it is and the defaults are used.
    const auto found = kv::test::readBytes (juce::File (KV_TEST_SOURCE_DIR).getChildFile ("fuzz/regressions/settings/crash-invalid-character-reference-utf16"));
    ASSERT_GT (found.getSize(), 0u);

    const auto utf8 = [] (const juce::String& text)
    { return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8()); };
    const juce::String opening = "<Plugin_Manager_Settings VST3_Path=\"D:/Taken\" CLAP_Path=\"D:/x";

    for (const auto& bytes : { found,
                               utf8 (opening + "&#x80000000;\"/>"),
                               utf8 (opening + "&#xD800;\"/>"),
                               utf8 (opening + "\">" + juce::String::repeatedString ("<a>", 200000)) })
    {
        kv::test::writeBytes (sandbox.settingsFile(), bytes.getData(), bytes.getSize());
        load();

        EXPECT_EQ (folders[0], sandbox.windowsPath ("C:/Program Files/Common Files/VST3"));
        EXPECT_FALSE (sandbox.windowsPath ("D:/Taken").exists());
        EXPECT_EQ (kv::test::readBytes (sandbox.settingsFile()), bytes);
        EXPECT_EQ (settings::readSettingsDocument (sandbox.settingsFile()), nullptr);
    }
}

TEST_F (SettingsFile, Utf16FileWithItsByteOrderMarkIsReadSurrogatePairsIncluded)
{
    // An emoji lies outside the Basic Multilingual Plane: two UTF-16 units, one character.
    const auto emojiFolder = juce::String::fromUTF8 ("D:/Plug-ins \xf0\x9f\x8e\xb9");
    const auto text = "<Plugin_Manager_Settings VST3_Path=\"D:/Sixteen\" CLAP_Path=\"" + emojiFolder
                      + "\" AAX_Path=\"" + juce::String::fromUTF8 ("D:/\xc3\xa9") + "\"/>";

    for (const auto bigEndian : { false, true })
    {
        juce::MemoryOutputStream out;
        out.writeByte ((char) (bigEndian ? 0xfe : 0xff));
        out.writeByte ((char) (bigEndian ? 0xff : 0xfe));

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            auto c = (juce::uint32) p.getAndAdvance();
            juce::uint32 units[2] = { c, 0 };

            if (c >= 0x10000)
                units[0] = 0xd800 + ((c - 0x10000) >> 10), units[1] = 0xdc00 + ((c - 0x10000) & 0x3ff);

            for (auto unit : units)
                if (unit != 0)
                    bigEndian ? out.writeShortBigEndian ((short) unit) : out.writeShort ((short) unit);
        }

        kv::test::writeBytes (sandbox.settingsFile(), out.getData(), out.getDataSize());
        load();

        EXPECT_EQ (folders[0], sandbox.windowsPath ("D:/Sixteen"));
        EXPECT_EQ (folders[1], sandbox.windowsPath (emojiFolder));
        EXPECT_EQ (folders[2], sandbox.windowsPath (juce::String::fromUTF8 ("D:/\xc3\xa9")));
    }
}

TEST_F (SettingsFile, FolderInPlaceOfTheFileCountsAsMissing)
{
    sandbox.settingsFile().createDirectory();
    load();

    EXPECT_TRUE (sandbox.settingsFile().isDirectory());
    EXPECT_EQ (folders[2], sandbox.windowsPath ("C:/Program Files/Common Files/Avid/Audio/Plug-Ins"));
}

TEST_F (SettingsFile, OnlyTheNoteGivesThreeEmptyDestinations)
{
    const auto content = juce::String ("<Plugin_Manager_Settings Important_Note:=\"x\"/>");
    kv::test::writeText (sandbox.settingsFile(), content);
    load();

    for (const auto& folder : folders)
        EXPECT_EQ (folder, juce::File());

    EXPECT_EQ (fileText (sandbox.settingsFile()), content);
}

TEST_F (SettingsFile, NamedFolderIsMappedAndCreatedWithItsParents)
{
    kv::test::writeText (sandbox.settingsFile(),
                         "<Plugin_Manager_Settings VST3_Path=\"D:/Plugins/VST3\" CLAP_Path=\"E:\\Clap\\\" AAX_Path=\"C:/Avid\"/>");
    load();

    EXPECT_EQ (folders[0], sandbox.windowsPath ("D:/Plugins/VST3"));
    EXPECT_TRUE (folders[0].isDirectory());
    EXPECT_EQ (folders[1], sandbox.windowsPath ("E:/Clap"));
    EXPECT_TRUE (folders[2].isDirectory());
}

TEST_F (SettingsFile, SavingKeepsPositionAndEveryOtherAttribute)
{
    kv::test::writeText (sandbox.settingsFile(),
                         "<Plugin_Manager_Settings Important_Note:=\"n\" CLAP_Path=\"old\" Extra=\"kept\" VST3_Path=\"v\"/>");

    saveDestinationSetting (sandbox.settingsFile(), "CLAP_Path", "D:\\Audio\\CLAP");

    const auto document = settings::readSettingsDocument (sandbox.settingsFile());
    ASSERT_NE (document, nullptr);
    ASSERT_EQ (document->getNumAttributes(), 4);
    EXPECT_EQ (document->getAttributeName (1), "CLAP_Path");
    EXPECT_EQ (document->getAttributeValue (1), "D:\\Audio\\CLAP");
    EXPECT_EQ (document->getAttributeValue (0), "n");
    EXPECT_EQ (document->getAttributeValue (2), "kept");
    EXPECT_EQ (document->getAttributeValue (3), "v");

    saveDestinationSetting (sandbox.settingsFile(), "AAX_Path", "D:\\AAX");
    const auto again = settings::readSettingsDocument (sandbox.settingsFile());
    EXPECT_EQ (again->getAttributeName (4), "AAX_Path");
    EXPECT_TRUE (fileText (sandbox.settingsFile()).startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n"));
}

TEST_F (SettingsFile, SavingNeverCreatesOrRepairs)
{
    saveDestinationSetting (sandbox.settingsFile(), "CLAP_Path", "D:\\x");
    EXPECT_FALSE (sandbox.settingsFile().exists());

    kv::test::writeText (sandbox.settingsFile(), "broken <");
    saveDestinationSetting (sandbox.settingsFile(), "CLAP_Path", "D:\\x");
    EXPECT_EQ (fileText (sandbox.settingsFile()), "broken <");
}

TEST_F (SettingsFile, ConcurrentWritersNeverLeaveAHalfWrittenFile)
{
    // Two installers saving at once: the last complete write wins and the file always parses.
    kv::test::writeText (sandbox.settingsFile(), fileText (juce::File()) + "<Plugin_Manager_Settings CLAP_Path=\"x\" VST3_Path=\"y\"/>");

    auto writer = [this] (const juce::String& value)
    {
        for (int i = 0; i < 40; ++i)
            saveDestinationSetting (sandbox.settingsFile(), "CLAP_Path", value + juce::String (i));
    };

    std::thread first (writer, "D:\\First\\"), second (writer, "D:\\Second\\");
    int unreadable = 0;
    for (int i = 0; i < 200; ++i)
    {
        // Every read finds a whole file: a missing or half-written one would not parse.
        if (const auto document = settings::readSettingsDocument (sandbox.settingsFile()))
            EXPECT_EQ (document->getStringAttribute ("VST3_Path"), "y");
        else
            ++unreadable;
    }
    EXPECT_EQ (unreadable, 0) << "a reader found no whole settings file";
    first.join();
    second.join();

    const auto document = settings::readSettingsDocument (sandbox.settingsFile());
    ASSERT_NE (document, nullptr);
    EXPECT_TRUE (document->getStringAttribute ("CLAP_Path").endsWith ("39"));
    EXPECT_EQ (sandbox.makerFolder().getNumberOfChildFiles (juce::File::findFiles), 1) << "no temporary file is left";
}
