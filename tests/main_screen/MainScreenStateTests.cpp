#include "support/MainScreenFixture.h"

using Fixture = kv::test::MainScreenFixture;

TEST_F (Fixture, StartsInTheNormalViewWithTheVersionOnTheHelpLine)
{
    auto& s = build();

    EXPECT_EQ (s.getWidth(), 600);
    EXPECT_EQ (s.getHeight(), 600);
    EXPECT_FLOAT_EQ (s.unit, 6.0f);
    EXPECT_FALSE (s.installDone);
    EXPECT_FALSE (s.uninstallMode);
    EXPECT_EQ (s.productName, "Strandline2");
    EXPECT_EQ (s.productVersion, "2.3.0");
    EXPECT_EQ (s.helpLabel->getText(), "1.3.0");
    EXPECT_EQ (s.helpLabel->findColour (juce::Label::textColourId).getARGB(), 0x80AAA6A6u);
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &s.customLookAndFeel);

    juce::StringArray order;
    for (auto* child : s.getChildren())
        order.add (child->getName());
    EXPECT_EQ (order.joinIntoString (","), "EULA,MANUAL,WEBSITE,SUPPORT,SETTINGS,CHANGES,VST3,CLAP,AAX,INSTALL,SELECT_ALL,OUTCOME,");

    for (auto* child : s.getChildren())
    {
        if (dynamic_cast<juce::Button*> (child) != nullptr)
        {
            EXPECT_EQ (child->getAlpha(), 0.0f) << child->getName();
        }
    }
}

TEST_F (Fixture, FormatsWithABundlePresentArePreselected)
{
    defaultBundle (0).createDirectory();
    auto& s = build();

    EXPECT_TRUE (s.formatSelected[0]);
    EXPECT_FALSE (s.formatSelected[1]);
    EXPECT_FALSE (s.formatSelected[2]);
}

TEST_F (Fixture, AnyItemAtTheBundlePathCountsAsPresent)
{
    kv::test::writeText (defaultBundle (0), "a file where a folder belongs");
    defaultBundle (1).createDirectory();
    defaultBundle (2).createDirectory();
    auto& s = build();

    EXPECT_TRUE (s.formatSelected[0]);
    EXPECT_TRUE (s.formatSelected[1]);
    EXPECT_TRUE (s.formatSelected[2]);
}

TEST_F (Fixture, IconsAreTintedAndTheLogoIsNot)
{
    auto& s = build();

    for (auto& icon : s.formatIcons)
        ASSERT_NE (icon, nullptr);

    const auto icon = kv::test::drawingOf (*s.installIcon, 64, 64);
    EXPECT_GT (kv::test::countColour (icon, icon.getBounds(), colour_surface), 0);
    EXPECT_EQ (kv::test::countColour (icon, icon.getBounds(), juce::Colours::black), 0);

    // The logo keeps its black artwork between paints.
    render();
    const auto logo = kv::test::drawingOf (*s.logoDrawable, 200, 30);
    EXPECT_GT (kv::test::countColour (logo, logo.getBounds(), juce::Colours::black), 0);
}

TEST_F (Fixture, DestinationsComeFromTheSettingsFile)
{
    kv::test::writeText (sandbox.settingsFile(),
                         "<Plugin_Manager_Settings VST3_Path=\"D:/Plugins/VST3\" CLAP_Path=\"D:/Plugins/CLAP\" AAX_Path=\"D:/AAX\"/>");
    sandbox.windowsPath ("D:/Plugins/VST3/Strandline2.vst3").createDirectory();
    auto& s = build();

    EXPECT_EQ (s.destinationFolders[0], sandbox.windowsPath ("D:/Plugins/VST3"));
    EXPECT_EQ (s.makerFolder, sandbox.makerFolder());
    EXPECT_TRUE (s.formatSelected[0]);
    EXPECT_TRUE (sandbox.windowsPath ("D:/AAX").isDirectory());
}
