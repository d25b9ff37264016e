#include "panels/OverlayPanel.h"

#include "identity/ProductIdentity.h"
#include "panels/PanelLayout.h"

OverlayPanel::OverlayPanel() = default;
OverlayPanel::~OverlayPanel() = default;

std::unique_ptr<juce::TextButton> OverlayPanel::makeInvisibleButton (const juce::String& name)
{
    auto button = std::make_unique<juce::TextButton>();
    button->setName (name);
    button->setAlpha (0.0f);
    button->addListener (this);
    addAndMakeVisible (*button);
    return button;
}

void OverlayPanel::createCloseButton()
{
    closeButton = makeInvisibleButton ("X");
}

juce::Rectangle<int> OverlayPanel::scaled (float x, float y, float w, float h) const
{
    return panel_layout::scaled (unit, x, y, w, h);
}

void OverlayPanel::layoutCloseButton()
{
    if (closeButton != nullptr)
        closeButton->setBounds (panel_layout::closeButtonBounds (unit));
}

void OverlayPanel::paintFrame (juce::Graphics& g, const juce::String& title)
{
    g.fillAll (colour_background);

    if (title.isNotEmpty())
    {
        const auto origin = panel_layout::titleOrigin (unit);
        g.setColour (colour_text);
        g.setFont (4.0f * unit);
        g.drawSingleLineText (title, origin.x, origin.y, juce::Justification::left);
    }

    if (closeButton == nullptr)
        return;

    const auto circle = panel_layout::closeCircleBounds (closeButton->getBounds().toFloat(), unit);

    // The button's state follows the mouse, and its changes are what repaint this area.
    g.setColour (closeButton->isOver() ? colour_text_dim : colour_text_dim.withAlpha (0.5f));
    g.drawEllipse (circle, panel_layout::closeCircleThickness (unit));
    g.setFont (3.0f * unit);
    g.drawText ("X", circle, juce::Justification::centred, true);
}

juce::Colour OverlayPanel::buttonFaceColour (const juce::Button& button)
{
    if (button.isDown())
        return colour_green;

    return colour_text_dim.withAlpha (button.isOver() ? 0.75f : 0.5f);
}

void OverlayPanel::closePanel()
{
    if (auto* parent = getParentComponent())
        parent->removeChildComponent (parent->getIndexOfChildComponent (this));
}
