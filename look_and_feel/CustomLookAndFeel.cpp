#include "look_and_feel/CustomLookAndFeel.h"

#include "BinaryData.h"
#include "look_and_feel/Palette.h"

CustomLookAndFeel::CustomLookAndFeel()
{
    regularTypeface = juce::Typeface::createSystemTypefaceFor (BinaryData::SFProRoundedRegular_otf,
                                                               (size_t) BinaryData::SFProRoundedRegular_otfSize);

    setColour (juce::PopupMenu::backgroundColourId, colour_background);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, colour_green.withAlpha (0.5f));
    setColour (juce::PopupMenu::textColourId, colour_text);
    setColour (juce::PopupMenu::highlightedTextColourId, colour_text);
    setColour (juce::AlertWindow::backgroundColourId, colour_background);
    setColour (juce::AlertWindow::textColourId, colour_text_dim);
    setColour (juce::PropertyComponent::labelTextColourId, colour_green.withAlpha (0.5f));
    setColour (juce::ResizableWindow::backgroundColourId, colour_background);
    setColour (juce::ScrollBar::thumbColourId, colour_text_dim);
    setColour (juce::TextEditor::backgroundColourId, colour_background);
    setColour (juce::ListBox::backgroundColourId, colour_background);
    setColour (juce::TextButton::buttonColourId, colour_background);
    setColour (juce::Label::textColourId, colour_text);
}

CustomLookAndFeel::~CustomLookAndFeel()
{
    regularTypeface = nullptr;
}

juce::Typeface::Ptr CustomLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    if (regularTypeface == nullptr)
        return LookAndFeel_V4::getTypefaceForFont (font);

    return regularTypeface;
}

juce::Font CustomLookAndFeel::regularFont (float height) const
{
    if (regularTypeface == nullptr)
        return juce::Font (height);

    return juce::Font (regularTypeface).withHeight (height);
}

juce::Font CustomLookAndFeel::getPopupMenuFont()
{
    juce::Font font;
    font.setSizeAndStyle (30.0f, juce::Font::plain, 1.0f, 0.1f);
    return font;
}

void CustomLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool,
                                      int, int, int, int, juce::ComboBox&)
{
    g.setColour (colour_surface);
    g.fillRoundedRectangle (0.0f, 0.0f, (float) width, (float) height, (float) height * 0.5f);
}

juce::Font CustomLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    return juce::Font ((float) box.getHeight() * 0.7f, juce::Font::plain);
}

void CustomLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (1, 1, box.getWidth(), box.getHeight() - 2);
    label.setFont (getComboBoxFont (box));
    label.setJustificationType (juce::Justification::centred);
    label.setText (label.getText(), juce::dontSendNotification);
}
