#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The installer's one look and feel: palette default colours, every font drawn with the
// embedded rounded typeface, and capsule-shaped combo boxes.
class CustomLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    CustomLookAndFeel();
    ~CustomLookAndFeel() override;

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;
    juce::Font getPopupMenuFont() override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    // The embedded typeface at that height; the framework's default font when the platform
    // refused the embedded one (a Font made from a null typeface crashes at its first use).
    juce::Font regularFont (float height) const;

    juce::Typeface::Ptr regularTypeface;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CustomLookAndFeel)
};
