#pragma once

#include "main_screen/InstallStatus.h"

#include <functional>
#include <optional>

// The help line's text for the button under the pointer or with the keyboard focus, which
// screen readers hear as the control's help too. Empty optional: leave the line as it is
// (SELECT_ALL and unknown names).
namespace hover_help
{
    // stateOf is asked only for the format buttons, afresh each time.
    std::optional<juce::String> textFor (const juce::String& buttonName,
                                         const std::function<FormatState (int formatIndex)>& stateOf,
                                         const juce::String& productVersion);
}
