#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// The help line's text for the button under the pointer. Empty optional: leave the line
// as it is (SELECT_ALL and unknown names).
namespace hover_help
{
    // bundleExists is asked only for the format buttons, afresh each time.
    std::optional<juce::String> textFor (const juce::String& buttonName,
                                         const std::function<bool (int formatIndex)>& bundleExists,
                                         const juce::String& productVersion);
}
