#include "look_and_feel/InvisibleButton.h"
#include "main_screen/Commands.h"
#include "main_screen/HoverHelp.h"
#include "support/MainScreenFixture.h"

using Fixture = kv::test::MainScreenFixture;

TEST_F (Fixture, FormatButtonsToggleAndSelectAllNeverClears)
{
    auto& s = build();

    click ("CLAP");
    EXPECT_TRUE (s.formatSelected[1]);
    click ("CLAP");
    EXPECT_FALSE (s.formatSelected[1]);

    click ("VST3");
    click ("SELECT_ALL");
    EXPECT_TRUE (s.formatSelected[0] && s.formatSelected[1] && s.formatSelected[2]);
    click ("SELECT_ALL");
    EXPECT_TRUE (s.formatSelected[0] && s.formatSelected[1] && s.formatSelected[2]);
}

// Every button the screen makes is one row of the command table, read for its name, its
// screen reader's title, its place in Tab order and its help; each row that has a button on a
// plain start has exactly one.
TEST_F (Fixture, EveryButtonIsOneRowOfTheCommandTable)
{
    auto& s = build();
    juce::StringArray seen;

    for (auto* child : s.getChildren())
    {
        auto* button = dynamic_cast<InvisibleButton*> (child);

        if (button == nullptr)
            continue;

        const auto* command = main_commands::named (button->getName());
        ASSERT_NE (command, nullptr) << button->getName();
        EXPECT_FALSE (seen.contains (command->name)) << command->name;
        seen.add (command->name);

        EXPECT_EQ (button->getExplicitFocusOrder(), command->focusOrder) << command->name;
        EXPECT_EQ (button->createAccessibilityHandler()->getTitle(), juce::String (command->title)) << command->name;

        if (command->action != main_commands::Action::toggleFormat)
        {
            EXPECT_EQ (button->liveHelp(), juce::String (command->help)) << command->name;
        }
    }

    // The notice's button is made only when a start has something to tell.
    EXPECT_EQ (seen.size(), (int) main_commands::table.size() - 1);
    EXPECT_FALSE (seen.contains (main_commands::of (main_commands::Action::dismissNotice).name));

    for (int k = 0; k < extraButtonNames.size(); ++k)
        EXPECT_EQ (s.extraButtons[(size_t) k]->getName(), extraButtonNames[k]);
}

TEST_F (Fixture, UnknownNamesDoNothing)
{
    auto& s = build();
    juce::TextButton stray;

    for (const juce::String name : { "install", "Vst3", "SELECT ALL", "" })
    {
        stray.setName (name);
        s.buttonClicked (&stray);
    }

    EXPECT_FALSE (s.installDone);
    EXPECT_FALSE (s.formatSelected[0] || s.formatSelected[1] || s.formatSelected[2]);
}

TEST_F (Fixture, LeavingAButtonEmptiesTheHelpLine)
{
    auto& s = build();
    EXPECT_EQ (s.helpLabel->getText(), "1.3.0");

    s.buttonStateChanged (button ("SETTINGS")); // the pointer is not over it in a headless test
    EXPECT_EQ (s.helpLabel->getText(), "");
}

TEST (HoverHelp, PlainTexts)
{
    const auto none = [] (int)
    { return FormatState {}; };
    const std::pair<const char*, const char*> table[] = {
        { "EULA", "Click to read End-User License Agreement" },
        { "MANUAL", "Click to open product manual in your web browser" },
        { "WEBSITE", "Click to open product page on the Korvane website" },
        { "SUPPORT", "Email and Discord support" },
        { "SETTINGS", "Click to set the install folder for each format" },
        { "CHANGES", "Click to view release notes" },
        { "INSTALL", "Click to install selected. Shift-click to uninstall selected" },
    };

    for (const auto& [name, text] : table)
        EXPECT_EQ (hover_help::textFor (name, none, "2.3.0").value_or ("<unchanged>"), text);

    for (const juce::String name : { "SELECT_ALL", "eula", "BROWSE0", "" })
        EXPECT_FALSE (hover_help::textFor (name, none, "2.3.0").has_value()) << name;
}

TEST (HoverHelp, FormatWordingFollowsTheBundleOnDisk)
{
    // VST3 is there in the carried version, CLAP in a later one, AAX not at all.
    int asked = -1;
    const auto present = [&asked] (int i)
    {
        asked = i;
        return i == 2 ? FormatState {} : install_status::stateForVersion (i == 0 ? "2.3.0.0" : "3.0.0.0", "2.3.0");
    };

    EXPECT_EQ (*hover_help::textFor ("VST3", present, "2.3.0"), "Select to update VST3 to 2.3.0");
    EXPECT_EQ (asked, 0);
    EXPECT_EQ (*hover_help::textFor ("AAX", present, "2.3.0"), "Select to install AAX");
    EXPECT_EQ (asked, 2);
    EXPECT_EQ (*hover_help::textFor ("CLAP", present, "2.3.0"), "Select to replace CLAP 3.0.0.0 with the older 2.3.0");
}

TEST (InstallStatus, OnlyALaterVersionIsNewerThanTheCarriedOne)
{
    const std::tuple<const char*, FormatStatus, bool> rows[] = {
        { "3.0.0.0", FormatStatus::installed, true },
        { "2.3.0.1", FormatStatus::installed, true },
        { "2.10.0.0", FormatStatus::installed, true },
        { "2.3.0.0", FormatStatus::installed, false }, // what the installer itself puts there
        { "2.3.0", FormatStatus::installed, false },
        { "2.2.9.0", FormatStatus::needsUpdate, false },
        { "", FormatStatus::installed, false }, // no version resource
    };

    for (const auto& [installed, status, newer] : rows)
    {
        const auto state = install_status::stateForVersion (installed, "2.3.0");
        EXPECT_EQ (state.status, status) << installed;
        EXPECT_EQ (state.newerThanCarried, newer) << installed;
    }
}

TEST_F (Fixture, ChangedDestinationChangesTheWordingAndStatus)
{
    auto& s = build();
    EXPECT_EQ (s.statusOf (0).status, FormatStatus::notInstalled);

    const auto elsewhere = sandbox.windowsPath ("D:/Other");
    elsewhere.getChildFile ("Strandline2.vst3").createDirectory();

    auto callback = s.makeDestinationCallback();
    const auto before = s.destinationFolders;
    callback (0, elsewhere);

    EXPECT_EQ (s.destinationFolders[0], elsewhere);
    EXPECT_EQ (s.destinationFolders[1], before[1]);
    EXPECT_EQ (s.destinationFolders[2], before[2]);
    EXPECT_EQ (s.statusOf (0).status, FormatStatus::installed);
    EXPECT_TRUE (s.bundleFileFor (0).exists());

    // An index outside the table changes nothing.
    for (const int index : { -1, numFormats })
        callback (index, sandbox.windowsPath ("D:/Nowhere"));
    EXPECT_EQ (s.destinationFolders[0], elsewhere);
    EXPECT_EQ (s.destinationFolders[1], before[1]);
    EXPECT_EQ (s.destinationFolders[2], before[2]);
}
