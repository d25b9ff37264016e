#include "panels/OverlayPanel.h"

#include "identity/ProductIdentity.h"

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
    return { juce::roundToInt (x * unit), juce::roundToInt (y * unit),
             juce::roundToInt (w * unit), juce::roundToInt (h * unit) };
}

void OverlayPanel::layoutCloseButton()
{
    if (closeButton != nullptr)
        closeButton->setBounds (scaled (88.0f, 1.5f, 8.0f, 8.0f));
}

void OverlayPanel::paintFrame (juce::Graphics& g, const juce::String& title)
{
    const auto u = unit;
    g.fillAll (colour_background);

    if (title.isNotEmpty())
    {
        g.setColour (colour_text);
        g.setFont (4.0f * u);
        g.drawSingleLineText (title, (int) (4.0f * u), (int) (6.0f * u), juce::Justification::left);
    }

    if (closeButton == nullptr)
        return;

    const auto b = closeButton->getBounds().toFloat();
    const juce::Rectangle<float> circle { b.getX() + 2.0f * u, b.getY() + 2.0f * u,
                                          juce::jmax (0.0f, b.getWidth() - 4.0f * u),
                                          juce::jmax (0.0f, b.getHeight() - 4.0f * u) };

    g.setColour (closeButton->isMouseOver() ? colour_text_dim : colour_text_dim.withAlpha (0.5f));
    g.drawEllipse (circle, 0.25f * u);
    g.setFont (3.0f * u);
    g.drawText ("X", circle, juce::Justification::centred, true);
}

void OverlayPanel::closePanel()
{
    if (auto* parent = getParentComponent())
        parent->removeChildComponent (parent->getIndexOfChildComponent (this));
}
