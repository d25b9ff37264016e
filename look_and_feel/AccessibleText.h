#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Text its owner paints, given to screen readers: a transparent component that takes no
// clicks, read out with the static-text role, its title and its description.
class AccessibleText final : public juce::Component
{
public:
    AccessibleText()
    {
        setInterceptsMouseClicks (false, false);
    }

    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override
    {
        return std::make_unique<juce::AccessibilityHandler> (*this, juce::AccessibilityRole::staticText);
    }

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AccessibleText)
};
