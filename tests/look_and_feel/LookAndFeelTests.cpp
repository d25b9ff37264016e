#include <gtest/gtest.h>

#include "look_and_feel/CustomLookAndFeel.h"
#include "look_and_feel/Palette.h"

TEST (LookAndFeel, EveryFontResolvesToTheEmbeddedTypeface)
{
    CustomLookAndFeel lookAndFeel;
    ASSERT_NE (lookAndFeel.regularTypeface, nullptr);

    const auto expected = lookAndFeel.regularTypeface.get();
    EXPECT_EQ (lookAndFeel.getTypefaceForFont (juce::Font()).get(), expected);
    EXPECT_EQ (lookAndFeel.getTypefaceForFont (juce::Font (12.0f, juce::Font::bold)).get(), expected);
    EXPECT_EQ (lookAndFeel.getTypefaceForFont (juce::Font ("Comic Sans MS", 30.0f, juce::Font::italic)).get(), expected);
}

TEST (LookAndFeel, PaletteDefaults)
{
    CustomLookAndFeel lookAndFeel;

    EXPECT_EQ (lookAndFeel.findColour (juce::ResizableWindow::backgroundColourId), colour_background);
    EXPECT_EQ (lookAndFeel.findColour (juce::PopupMenu::highlightedBackgroundColourId).getARGB(), 0x8086CF7Au);
    EXPECT_EQ (lookAndFeel.findColour (juce::Label::textColourId), colour_text);
    EXPECT_EQ (lookAndFeel.findColour (juce::ScrollBar::thumbColourId), colour_text_dim);
    EXPECT_EQ (lookAndFeel.findColour (juce::TextButton::buttonColourId), colour_background);
}

TEST (LookAndFeel, PopupMenuFontIsFixed)
{
    CustomLookAndFeel lookAndFeel;
    const auto font = lookAndFeel.getPopupMenuFont();

    EXPECT_FLOAT_EQ (font.getHeight(), 30.0f);
    EXPECT_FLOAT_EQ (font.getExtraKerningFactor(), 0.1f);
    EXPECT_FALSE (font.isBold());
}

TEST (LookAndFeel, ComboBoxIsACapsuleWithAFullWidthLabel)
{
    CustomLookAndFeel lookAndFeel;
    juce::ComboBox box;
    box.setLookAndFeel (&lookAndFeel);
    box.setBounds (0, 0, 120, 24);
    box.addItem ("Item", 1);
    box.setSelectedId (1);

    juce::Label label;
    lookAndFeel.positionComboBoxText (box, label);
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (1, 1, 120, 22));
    EXPECT_NEAR (label.getFont().getHeight(), 16.8f, 1.0e-4f);
    EXPECT_EQ (label.getJustificationType(), juce::Justification (juce::Justification::centred));

    juce::Image image (juce::Image::ARGB, 120, 24, true);
    {
        juce::Graphics g (image);
        lookAndFeel.drawComboBox (g, 120, 24, false, 0, 0, 0, 0, box);
    }
    EXPECT_EQ (image.getPixelAt (60, 12), colour_surface);
    EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0) << "corner of a capsule stays clear";
    EXPECT_EQ (image.getPixelAt (12, 1).getAlpha(), 0xff);
    box.setLookAndFeel (nullptr);
}
