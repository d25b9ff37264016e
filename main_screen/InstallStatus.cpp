#include "main_screen/InstallStatus.h"

#include "identity/BundleLocation.h"
#include "platform/InstalledVersion.h"

namespace install_status
{
    juce::File versionFileIn (const juce::File& bundle, const juce::String& productName, int formatIndex)
    {
        if (bundle == juce::File())
            return {};

        const auto& format = formatTable[(size_t) formatIndex];

        if (*format.moduleFolder == 0)
            return bundle;

        // The plug-in file inside carries the bundle's own name.
        return bundle.getChildFile (juce::String (format.moduleFolder) + "/" + bundleNameFor (productName, formatIndex));
    }

    juce::String readInstalledVersion (const juce::File& versionFile)
    {
        return kv::platform::readFileVersion (versionFile);
    }

    FormatState stateForVersion (const juce::String& installedVersion, const juce::String& productVersion)
    {
        if (installedVersion.isEmpty())
            return { FormatStatus::installed, {} };

        const auto order = installedVersion.compareNatural (productVersion);
        return { order < 0 ? FormatStatus::needsUpdate : FormatStatus::installed, installedVersion };
    }

    FormatState stateOf (const juce::File& bundle, const juce::File& versionFile, const juce::String& productVersion)
    {
        if (! kv::platform::itemExists (bundle))
            return {};

        return stateForVersion (readInstalledVersion (versionFile), productVersion);
    }

    juce::String statusText (const FormatState& state)
    {
        if (state.status == FormatStatus::notInstalled)
            return "NOT INSTALLED";

        const juce::String prefix = state.version.isEmpty() ? juce::String() : "v" + state.version + " ";
        return prefix + (state.status == FormatStatus::needsUpdate ? "NEEDS UPDATE" : "INSTALLED");
    }
}
