#include "panels/OverlayPanel.h"

#include "look_and_feel/FocusMark.h"
#include "look_and_feel/Palette.h"
#include "look_and_feel/UnitGeometry.h"
#include "panels/PanelLayout.h"

OverlayPanel::OverlayPanel()
{
    setFocusContainerType (juce::Component::FocusContainerType::keyboardFocusContainer);
}

OverlayPanel::~OverlayPanel() = default;

void OverlayPanel::createCloseButton()
{
    closeButton = InvisibleButton::addTo (*this, *this, "X", "Close");
}

void OverlayPanel::focusFirstControl()
{
    if (! isShowing())
        return;

    if (auto traverser = createKeyboardFocusTraverser())
        if (auto* first = traverser->getDefaultComponent (this))
            first->grabKeyboardFocus();
}

bool OverlayPanel::keyPressed (const juce::KeyPress& key)
{
    if (key.isKeyCode (juce::KeyPress::escapeKey))
    {
        closePanel();
        return true;
    }

    return false;
}

void OverlayPanel::paintOverChildren (juce::Graphics& g)
{
    focus_mark::paintAround (g, *this, unit);
}

std::unique_ptr<juce::AccessibilityHandler> OverlayPanel::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler> (*this, juce::AccessibilityRole::group);
}

juce::Rectangle<int> OverlayPanel::scaled (float x, float y, float w, float h) const
{
    return unit_geometry::scaled (unit, x, y, w, h);
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

void OverlayPanel::closePanel()
{
    const auto hadFocus = hasKeyboardFocus (true);

    if (auto* parent = getParentComponent())
        parent->removeChildComponent (parent->getIndexOfChildComponent (this));

    if (hadFocus && returnFocusTo != nullptr && returnFocusTo->isShowing())
        returnFocusTo->grabKeyboardFocus();
}
