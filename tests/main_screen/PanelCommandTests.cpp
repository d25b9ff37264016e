#include "panels/panel_changelog.h"
#include "panels/panel_eula.h"
#include "panels/panel_support.h"
#include "settings/panel_settings.h"
#include "support/MainScreenFixture.h"

using Fixture = kv::test::MainScreenFixture;

TEST_F (Fixture, EachPanelCommandOpensItsPanelOverTheScreen)
{
    auto& s = build();

    click ("EULA");
    click ("SUPPORT");
    click ("SETTINGS");
    click ("CHANGES");

    const std::pair<juce::Component*, float> panels[] = {
        { s.eulaPanel.get(), s.eulaPanel->unit },
        { s.supportPanel.get(), s.supportPanel->unit },
        { s.settingsPanel.get(), s.settingsPanel->unit },
        { s.changelogPanel.get(), s.changelogPanel->unit },
    };

    for (const auto& [panel, panelUnit] : panels)
    {
        ASSERT_NE (panel, nullptr);
        EXPECT_EQ (panel->getParentComponent(), &s);
        EXPECT_EQ (panel->getBounds(), s.getLocalBounds());
        EXPECT_TRUE (panel->isAlwaysOnTop());
        EXPECT_FLOAT_EQ (panelUnit, 6.0f);
    }

    EXPECT_EQ (s.supportPanel->productName, "Strandline2");
    EXPECT_EQ (s.supportPanel->productVersion, "2.3.0");
    EXPECT_EQ (s.eulaPanel->licenceText, eulaText);
    EXPECT_EQ (s.settingsPanel->settingsFile, sandbox.settingsFile());
    EXPECT_EQ (s.changelogPanel->productName, "Strandline2");
    EXPECT_EQ (s.getChildren().getLast(), s.changelogPanel.get()) << "the newest panel is in front";
}

TEST_F (Fixture, ClosedPanelStaysOwnedUntilItsCommandRunsAgain)
{
    auto& s = build();
    click ("EULA");
    juce::Component::SafePointer<juce::Component> first (s.eulaPanel.get());

    s.eulaPanel->buttonClicked (s.eulaPanel->closeButton.get());
    EXPECT_EQ (first->getParentComponent(), nullptr);
    EXPECT_NE (first.getComponent(), nullptr);

    // The main screen's own buttons answer again.
    click ("VST3");
    EXPECT_TRUE (s.formatSelected[0]);

    s.setSize (700, 700);
    click ("EULA");
    EXPECT_EQ (first.getComponent(), nullptr) << "the old panel is destroyed";
    EXPECT_EQ (s.eulaPanel->getBounds(), juce::Rectangle<int> (0, 0, 700, 700));
    EXPECT_FLOAT_EQ (s.eulaPanel->unit, 7.0f);
}

TEST_F (Fixture, ResizingCarriesEveryPanelAlongAndTheReleaseNotesKeepTheirPlace)
{
    auto& s = build();
    click ("EULA");
    click ("SUPPORT");
    click ("SETTINGS");
    click ("CHANGES");

    auto& notes = *s.changelogPanel->viewport;
    notes.setViewPosition (0, notes.getViewedComponent()->getHeight() / 2);
    const auto share = (double) notes.getViewPositionY() / notes.getViewedComponent()->getHeight();

    s.setSize (900, 900);

    for (auto* panel : std::initializer_list<juce::Component*> { s.eulaPanel.get(), s.supportPanel.get(), s.settingsPanel.get(), s.changelogPanel.get() })
        EXPECT_EQ (panel->getBounds(), juce::Rectangle<int> (0, 0, 900, 900));

    EXPECT_FLOAT_EQ (s.eulaPanel->unit, 9.0f);
    EXPECT_FLOAT_EQ (s.changelogPanel->unit, 9.0f);
    EXPECT_EQ (s.eulaPanel->textEditor->getBounds(), juce::Rectangle<int> (36, 108, 828, 720));
    EXPECT_NEAR ((double) notes.getViewPositionY() / notes.getViewedComponent()->getHeight(), share, 0.02);

    // Nothing of the main screen shows beside the notes or takes their clicks.
    s.setVisible (true);
    auto* hit = s.getComponentAt (s.installButton->getBounds().getCentre());
    ASSERT_NE (hit, nullptr);
    EXPECT_TRUE (dynamic_cast<OverlayPanel*> (hit) != nullptr || hit->findParentComponentOfClass<OverlayPanel>() != nullptr)
        << "the click reaches " << hit->getName();
}

TEST_F (Fixture, ReleaseNotesGetTheWholeResource)
{
    auto& s = build();
    click ("CHANGES");
    ASSERT_NE (s.changelogPanel, nullptr);

    // Every line after the title reached the panel, up to the resource's very last one.
    juce::StringArray lines;
    lines.addLines (juce::String::createStringFromData (BinaryData::CHANGELOG_md, BinaryData::CHANGELOG_mdSize));
    lines.removeEmptyStrings();
    const auto& items = s.changelogPanel->items;

    std::vector<juce::String> texts;
    for (const auto& item : items)
        if (item.kind != ChangelogItemKind::spacer)
            texts.push_back (item.text);

    ASSERT_FALSE (texts.empty());
    EXPECT_TRUE (lines[1].endsWith (texts.front())) << texts.front();
    EXPECT_TRUE (lines[lines.size() - 1].endsWith (texts.back())) << texts.back();
    EXPECT_TRUE (texts.back().contains ("48 new factory presets"));
}

TEST_F (Fixture, SettingsPanelChoiceReachesTheScreen)
{
    sandbox.makerFolder().createDirectory();
    auto& s = build();
    click ("SETTINGS");

    const auto chosen = sandbox.root().getChildFile ("Chosen/CLAP");
    chosen.getChildFile ("Strandline2.clap").create();
    s.settingsPanel->chooserFinished (1, chosen);

    EXPECT_EQ (s.destinationFolders[1], chosen);
    EXPECT_EQ (s.statusOf (1).status, FormatStatus::installed);
    EXPECT_EQ (settings::readSettingsDocument (sandbox.settingsFile())->getStringAttribute ("CLAP_Path"), chosen.getFullPathName());
}
