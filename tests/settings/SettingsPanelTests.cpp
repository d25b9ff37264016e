#include "panels/PanelLayout.h"
#include "platform/PlatformFolders.h"
#include "settings/panel_settings.h"
#include "support/Immutable.h"
#include "support/Sandbox.h"
#include "tests/panels/PanelTestSupport.h"

namespace
{
    struct PanelSettings : public kv::test::PanelTest
    {
        kv::test::Sandbox sandbox;
        juce::File settingsFile = sandbox.settingsFile();
        juce::StringArray calls;

        DestinationCallback recorder()
        {
            return [this] (int formatIndex, const juce::File& folder)
            { calls.add (juce::String (formatIndex) + "=" + folder.getFullPathName()); };
        }

        // As a hand-edited file would be: forward slashes, one attribute of another installer.
        void writeSettings()
        {
            kv::test::writeText (settingsFile, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n"
                                               "<Plugin_Manager_Settings Important_Note:=\"Keep it.\" CLAP_Path=\"D:/Plugins/CLAP\""
                                               " VST3_Path=\"D:/Plugins/VST3\" AAX_Path=\"D:/Plugins/AAX\" Extra=\"kept\"/>\r\n");
        }

        juce::File chosenFolder (const juce::String& name)
        {
            auto folder = sandbox.root().getChildFile ("Chosen").getChildFile (name);
            folder.createDirectory();
            return folder;
        }

        juce::StringArray attributesInFile()
        {
            juce::StringArray result;

            if (const auto document = juce::parseXML (settingsFile))
                for (int i = 0; i < document->getNumAttributes(); ++i)
                    result.add (document->getAttributeName (i) + "=" + document->getAttributeValue (i));

            return result;
        }
    };
}

TEST_F (PanelSettings, BoxesShowTheFileAsWritten)
{
    writeSettings();
    panel_settings panel (settingsFile, recorder());

    ASSERT_EQ (panel.pathEditors.size(), 3u);
    EXPECT_EQ (panel.pathEditors[0]->getText(), "D:/Plugins/VST3");
    EXPECT_EQ (panel.pathEditors[1]->getText(), "D:/Plugins/CLAP");
    EXPECT_EQ (panel.pathEditors[2]->getText(), "D:/Plugins/AAX");
    EXPECT_TRUE (panel.pathEditors[1]->isReadOnly());
    EXPECT_TRUE (calls.isEmpty());
}

TEST_F (PanelSettings, ChosenFolderUpdatesBoxFileAndMainScreen)
{
    writeSettings();
    panel_settings panel (settingsFile, recorder());
    const auto path = chosenFolder ("CLAP here").getFullPathName();

    panel.chooserFinished (1, juce::File (path));

    EXPECT_EQ (panel.pathEditors[1]->getText(), path);
    EXPECT_EQ (panel.pathEditors[0]->getText(), "D:/Plugins/VST3");
    EXPECT_EQ (attributesInFile(), juce::StringArray ("Important_Note:=Keep it.", "CLAP_Path=" + path, "VST3_Path=D:/Plugins/VST3",
                                                      "AAX_Path=D:/Plugins/AAX", "Extra=kept"));
    EXPECT_EQ (calls, juce::StringArray ("1=" + path));
}

TEST_F (PanelSettings, CancelledChooserChangesNothing)
{
    writeSettings();
    const auto before = kv::test::readBytes (settingsFile);
    panel_settings panel (settingsFile, recorder());

    panel.chooserFinished (1, juce::File());

    EXPECT_EQ (panel.pathEditors[1]->getText(), "D:/Plugins/CLAP");
    EXPECT_EQ (kv::test::readBytes (settingsFile), before);
    EXPECT_TRUE (calls.isEmpty());
}

TEST_F (PanelSettings, WithoutAFileBoxesAreEmptyAndAChoiceStillReachesTheMainScreen)
{
    panel_settings panel (settingsFile, recorder());

    for (auto& editor : panel.pathEditors)
        EXPECT_TRUE (editor->getText().isEmpty());

    const auto folder = chosenFolder ("AAX");
    panel.chooserFinished (2, folder);

    EXPECT_EQ (panel.pathEditors[2]->getText(), folder.getFullPathName());
    EXPECT_FALSE (settingsFile.exists());
    EXPECT_EQ (calls, juce::StringArray ("2=" + folder.getFullPathName()));
}

TEST_F (PanelSettings, CompletionArrivingAfterThePanelIsGoneDoesNothing)
{
    writeSettings();
    auto panel = std::make_unique<panel_settings> (settingsFile, recorder());
    auto completion = panel->chooserCompletion (1);

    completion (chosenFolder ("First"));
    ASSERT_EQ (calls.size(), 1);
    const auto written = kv::test::readBytes (settingsFile);

    panel.reset();
    completion (chosenFolder ("Too late"));

    EXPECT_EQ (calls.size(), 1);
    EXPECT_EQ (kv::test::readBytes (settingsFile), written);
}

TEST_F (PanelSettings, ChooserOpensInTheBoxFolderWhenItExists)
{
    writeSettings();
    panel_settings panel (settingsFile, recorder());
    EXPECT_EQ (panel.chooserStartingFolder (1), juce::File());

    // The box's Windows spelling names a folder inside the sandbox.
    const auto clapFolder = kv::platform::fileFromPath ("D:/Plugins/CLAP");
    ASSERT_TRUE (clapFolder.isAChildOf (sandbox.root()));
    clapFolder.createDirectory();
    EXPECT_EQ (panel.chooserStartingFolder (1), clapFolder);

    kv::test::writeText (kv::platform::fileFromPath ("D:/Plugins/VST3"), "a file, not a folder");
    EXPECT_EQ (panel.chooserStartingFolder (0), juce::File());

    panel_settings empty (sandbox.root().getChildFile ("missing.txt"), nullptr);
    EXPECT_EQ (empty.chooserStartingFolder (2), juce::File());
    EXPECT_EQ (empty.chooserTitle (2), "Choose the AAX install folder");
}

TEST_F (PanelSettings, RowsAndNoteLayOutOnTheUnit)
{
    panel_settings panel (settingsFile, recorder());
    kv::test::showAt (panel, 6.0f);
    const int rowTops[] { 96, 135, 174 };

    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ (panel.pathEditors[i]->getBounds(), juce::Rectangle<int> (132, rowTops[i], 336, 30));
        EXPECT_EQ (panel.browseButtons[i]->getBounds(), juce::Rectangle<int> (480, rowTops[i], 96, 30));
        EXPECT_EQ (panel.browseButtons[i]->getName(), "BROWSE" + juce::String (i));
    }

    const juce::Rectangle<int> noteBox (24, 300, 552, 120);
    EXPECT_EQ (panel_layout::settingsNoteBounds (6.0f), noteBox);

    const auto note = kv::test::inkBounds (kv::test::render (panel), { 0, 220, 600, 380 });
    EXPECT_FALSE (note.isEmpty());
    EXPECT_TRUE (noteBox.contains (note));
}

TEST_F (PanelSettings, BrowseFaceFollowsHoverAndPress)
{
    panel_settings panel (settingsFile, recorder());
    kv::test::showAt (panel, 6.0f);
    auto& button = *panel.browseButtons[1];
    const auto faceAt = [&]
    { return kv::test::render (panel).getPixelAt (button.getX() + 2, button.getBounds().getCentreY()); };

    EXPECT_TRUE (kv::test::looksLike (faceAt(), kv::test::over (colour_background, colour_text_dim, 0.5f)));
    button.setState (juce::Button::buttonOver);
    EXPECT_TRUE (kv::test::looksLike (faceAt(), kv::test::over (colour_background, colour_text_dim, 0.75f)));
    button.setState (juce::Button::buttonDown);
    EXPECT_EQ (faceAt(), colour_green);
}

TEST_F (PanelSettings, AFolderThatCannotBeSavedIsSaidAndNotUsed)
{
    // Root is refused only by an immutable item: the file itself, or the folder its
    // replacement must be written in.
    const std::pair<bool, const char*> rows[] = { { true, "cannot be changed" }, { false, "not allowed to write in" } };

    for (const auto& [lockTheFile, reason] : rows)
    {
        SCOPED_TRACE (reason);
        writeSettings();
        const auto before = kv::test::readBytes (settingsFile);
        calls.clear();
        panel_settings panel (settingsFile, recorder());
        {
            const kv::test::Immutable refusing (lockTheFile ? settingsFile : settingsFile.getParentDirectory());
            ASSERT_TRUE (refusing.locked);
            panel.chooserFinished (1, chosenFolder ("CLAP here"));
        }

        EXPECT_EQ (kv::test::readBytes (settingsFile), before);
        EXPECT_EQ (panel.pathEditors[1]->getText(), "D:/Plugins/CLAP") << "the box shows what the next start uses";
        EXPECT_TRUE (calls.isEmpty()) << "the main screen keeps the folder the file holds";
        EXPECT_TRUE (panel.saveProblem.startsWith ("The CLAP folder was not saved: ")) << panel.saveProblem;
        EXPECT_TRUE (panel.saveProblem.contains (reason)) << panel.saveProblem;
        EXPECT_TRUE (panel.saveProblem.contains ("choose the folder again")) << panel.saveProblem;

        // Shown whole under the rows, in the warning colour.
        kv::test::showAt (panel, 6.0f);
        const auto orange = kv::test::countPixels (kv::test::render (panel), panel_layout::settingsProblemBounds (6.0f).toNearestInt(),
                                                   [] (juce::Colour pixel)
                                                   { return kv::test::looksLike (pixel, colour_orange, 8); });
        EXPECT_GT (orange, 100);

        // Once the file may be written again, the next choice is saved and the words go.
        panel.chooserFinished (1, chosenFolder ("CLAP here"));
        EXPECT_TRUE (panel.saveProblem.isEmpty());
        EXPECT_EQ (calls.size(), 1);
    }
}
