#include "look_and_feel/FocusMark.h"

#include "look_and_feel/Palette.h"

namespace focus_mark
{
    static const juce::Identifier shownProperty { "kvKeyboardFocusMarkShown" };

    bool isShown (const juce::Component& anyComponent)
    {
        if (auto* top = anyComponent.getTopLevelComponent())
            return (bool) top->getProperties().getWithDefault (shownProperty, false);

        return false;
    }

    void setShown (juce::Component& anyComponent, bool shouldShow)
    {
        if (auto* top = anyComponent.getTopLevelComponent(); top != nullptr && isShown (*top) != shouldShow)
        {
            top->getProperties().set (shownProperty, shouldShow);
            top->repaint();
        }
    }

    void paintAround (juce::Graphics& g, const juce::Component& owner, float unit)
    {
        auto* focused = juce::Component::getCurrentlyFocusedComponent();

        if (focused == nullptr || focused->getParentComponent() != &owner || ! focused->isVisible() || ! isShown (owner))
            return;

        const auto thickness = juce::jmax (2.0f, 0.35f * unit);
        g.setColour (colour_text);
        g.drawRoundedRectangle (focused->getBounds().toFloat().expanded (0.6f * unit), unit, thickness);
    }
}
