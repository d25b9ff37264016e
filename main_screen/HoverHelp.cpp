#include "main_screen/HoverHelp.h"

#include "identity/Formats.h"

namespace hover_help
{
    std::optional<juce::String> textFor (const juce::String& buttonName,
                                         const std::function<FormatState (int)>& stateOf,
                                         const juce::String& productVersion)
    {
        if (buttonName == "EULA") return juce::String ("Click to read End-User License Agreement");
        if (buttonName == "MANUAL") return juce::String ("Click to open product manual in your web browser");
        if (buttonName == "WEBSITE") return juce::String ("Click to open product page on the Korvane website");
        if (buttonName == "SUPPORT") return juce::String ("Email and Discord support");
        if (buttonName == "SETTINGS") return juce::String ("Click to set the install folder for each format");
        if (buttonName == "CHANGES") return juce::String ("Click to view release notes");
        if (buttonName == "NOTICE") return juce::String ("Click to dismiss this notice");
        if (buttonName == "INSTALL") return juce::String ("Click to install selected. ") + "Shift-click to uninstall selected";

        const auto formatIndex = formatNames.indexOf (buttonName, false);

        if (formatIndex >= 0 && formatNames[formatIndex] == buttonName)
        {
            const auto state = stateOf (formatIndex);

            if (state.status == FormatStatus::notInstalled)
                return "Select to install " + buttonName;

            // Never an "update" that puts an older copy in place of a newer one.
            if (state.newerThanCarried)
                return "Select to replace " + buttonName + " " + state.version + " with the older " + productVersion;

            return "Select to update " + buttonName + " to " + productVersion;
        }

        return std::nullopt;
    }
}
