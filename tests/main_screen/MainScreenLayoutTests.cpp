#include "support/MainScreenFixture.h"

using Fixture = kv::test::MainScreenFixture;
using R = juce::Rectangle<int>;

TEST_F (Fixture, ChildrenAtSixHundred)
{
    build();

    EXPECT_EQ (button ("INSTALL")->getBounds(), R (516, 441, 60, 60));
    EXPECT_EQ (button ("SELECT_ALL")->getBounds(), R (462, 132, 114, 30));
    EXPECT_EQ (button ("VST3")->getBounds(), R (24, 180, 270, 60));
    EXPECT_EQ (button ("CLAP")->getBounds(), R (306, 180, 270, 60));
    EXPECT_EQ (button ("AAX")->getBounds(), R (24, 252, 270, 60));
    EXPECT_EQ (button ("EULA")->getBounds(), R (24, 444, 96, 24));
    EXPECT_EQ (button ("MANUAL")->getBounds(), R (24, 474, 96, 24));
    EXPECT_EQ (button ("WEBSITE")->getBounds(), R (126, 444, 96, 24));
    EXPECT_EQ (button ("CHANGES")->getBounds(), R (228, 474, 96, 24));
    EXPECT_EQ (screen->helpLabel->getBounds(), R (24, 540, 552, 18));
    EXPECT_FLOAT_EQ (screen->helpLabel->getFont().getHeight(), 18.0f);
}

TEST_F (Fixture, EverythingScalesWithTheWidth)
{
    build();
    screen->setSize (900, 900);

    EXPECT_FLOAT_EQ (screen->unit, 9.0f);
    EXPECT_EQ (button ("INSTALL")->getBounds(), R (774, 662, 90, 90)); // 73.5 x 9 = 661.5, to even
    EXPECT_EQ (button ("VST3")->getBounds(), R (36, 270, 405, 90));
    EXPECT_EQ (button ("CLAP")->getBounds(), R (459, 270, 405, 90));
    EXPECT_EQ (button ("CHANGES")->getBounds(), R (342, 711, 144, 36));
    EXPECT_EQ (screen->helpLabel->getBounds(), R (36, 810, 828, 27));
}

TEST_F (Fixture, ShiftSwitchesUninstallModeOnlyWhenItChanges)
{
    auto& s = build();

    s.modifierKeysChanged (juce::ModifierKeys (juce::ModifierKeys::shiftModifier));
    EXPECT_TRUE (s.uninstallMode);
    EXPECT_EQ (s.lastModifierFlags, juce::ModifierKeys::shiftModifier);

    s.modifierKeysChanged (juce::ModifierKeys (juce::ModifierKeys::shiftModifier | juce::ModifierKeys::ctrlModifier
                                               | juce::ModifierKeys::leftButtonModifier));
    EXPECT_TRUE (s.uninstallMode);
    EXPECT_EQ (s.lastModifierFlags, juce::ModifierKeys::shiftModifier | juce::ModifierKeys::ctrlModifier);

    s.modifierKeysChanged (juce::ModifierKeys());
    EXPECT_FALSE (s.uninstallMode);
}
