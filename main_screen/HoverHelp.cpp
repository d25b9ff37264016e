#include "main_screen/HoverHelp.h"

#include "main_screen/Commands.h"

namespace hover_help
{
    std::optional<juce::String> textFor (const juce::String& buttonName,
                                         const std::function<FormatState (int)>& stateOf,
                                         const juce::String& productVersion)
    {
        const auto* command = main_commands::named (buttonName);

        if (command == nullptr)
            return std::nullopt;

        if (command->action != main_commands::Action::toggleFormat)
            return *command->help != 0 ? std::optional<juce::String> (command->help) : std::nullopt;

        const auto state = stateOf (command->formatIndex);

        if (state.status == FormatStatus::notInstalled)
            return "Select to install " + buttonName;

        // Never an "update" that puts an older copy in place of a newer one.
        if (state.newerThanCarried)
            return "Select to replace " + buttonName + " " + state.version + " with the older " + productVersion;

        return "Select to update " + buttonName + " to " + productVersion;
    }
}
