#include "main_screen/MainLayout.h"
#include "support/Immutable.h"
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

namespace
{
    // Characters of words that no line of the layout holds, from the first one left out.
    juce::String leftOut (const juce::String& words, const juce::TextLayout& layout)
    {
        std::vector<bool> laidOut ((size_t) words.length(), false);
        for (int l = 0; l < layout.getNumLines(); ++l)
            for (auto i = layout.getLine (l).stringRange.getStart(); i < layout.getLine (l).stringRange.getEnd(); ++i)
                laidOut[(size_t) i] = true;
        for (int i = 0; i < words.length(); ++i)
            if (! laidOut[(size_t) i] && ! juce::CharacterFunctions::isWhitespace (words[i]))
                return words.substring (i);
        return {};
    }
}

TEST_F (Fixture, ACopyThatCouldNotBePutBackIsNoticedWholeUntilTheUserActs)
{
    // A killed pass moved the VST3 bundle aside; the folder now refuses to have it put back.
    const auto kept = defaultDestination (0).getChildFile ("Strandline2.vst3.kv-old");
    kv::test::writeText (kept.getChildFile ("Contents/x86_64-win/Strandline2.vst3.kv-inert"), "moved aside");
    const kv::test::Immutable refusing (defaultDestination (0));
    ASSERT_TRUE (refusing.locked);

    for (const juce::String dismissal : { "click", "Return", "pass" })
    {
        SCOPED_TRACE (dismissal);
        auto& s = build();
        ASSERT_NE (s.noticeButton, nullptr);
        EXPECT_TRUE (s.showsNotice());
        EXPECT_EQ (s.noticeText, "An earlier copy could not be put back and is kept at " + kept.getFullPathName() + ".");
        EXPECT_EQ (s.helpLabel->getText(), "1.3.0");
        EXPECT_EQ (dynamic_cast<InvisibleButton&> (*s.noticeButton).createAccessibilityHandler()->getDescription(), s.noticeText);

        // Whole, inside its own place, at the smallest window and at 600 px.
        for (const auto size : { 128, 600 })
        {
            s.setSize (size, size);
            const auto layout = s.noticeLayout();
            EXPECT_EQ (leftOut (s.noticeText, layout.text), "") << size;
            EXPECT_LE (layout.text.getHeight(), main_layout::noticeTextArea (s.unit).getHeight()) << size;
            for (int l = 0; l < layout.text.getNumLines(); ++l)
                EXPECT_LE (layout.text.getLine (l).getLineBoundsX().getEnd(), main_layout::noticeTextArea (s.unit).getWidth() + 0.01f) << size;
        }

        // Hovering elsewhere leaves it.
        s.buttonStateChanged (button ("CLAP"));
        EXPECT_TRUE (s.showsNotice());

        if (dismissal == "click")
            click ("NOTICE");
        else if (dismissal == "Return")
            dynamic_cast<InvisibleButton&> (*s.noticeButton).keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
        else
            click ("INSTALL");

        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        EXPECT_FALSE (s.showsNotice());
    }
}
