#include "panels/panel_eula.h"

#include "look_and_feel/Palette.h"

panel_eula::panel_eula (juce::String text)
    : licenceText (std::move (text))
{
    unit = 9.0f;

    textEditor = std::make_unique<juce::TextEditor>();
    addAndMakeVisible (*textEditor);
    textEditor->setMultiLine (true);
    textEditor->setText (licenceText);
    textEditor->applyColourToAllText (colour_text_dim);
    textEditor->setColour (juce::TextEditor::outlineColourId, colour_background);
    textEditor->setColour (juce::TextEditor::focusedOutlineColourId, colour_background);
    textEditor->setTitle ("Licence text");
    // The editor takes Escape for itself; it still closes the panel.
    textEditor->onEscapeKey = [this]
    { closePanel(); };
    setTitle ("Licence agreement");

    createCloseButton();
}

panel_eula::~panel_eula()
{
    closeButton = nullptr;
    textEditor = nullptr;
}

void panel_eula::paint (juce::Graphics& g)
{
    paintFrame (g, "LICENSE AGREEMENT");
}

void panel_eula::resized()
{
    textEditor->setBounds (scaled (4.0f, 12.0f, 92.0f, 80.0f));
    layoutCloseButton();
}

void panel_eula::buttonClicked (juce::Button*)
{
    closePanel();
}
