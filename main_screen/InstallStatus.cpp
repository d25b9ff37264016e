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

    int compareVersions (const juce::String& a, const juce::String& b)
    {
        const auto partsOfA = juce::StringArray::fromTokens (a, ".", {});
        const auto partsOfB = juce::StringArray::fromTokens (b, ".", {});

        for (int i = 0; i < juce::jmax (partsOfA.size(), partsOfB.size()); ++i)
        {
            // Parts that are not plain numbers (never in a module's fixed version) fall back to
            // the natural order of their text.
            const auto partA = partsOfA[i].isEmpty() ? juce::String ("0") : partsOfA[i];
            const auto partB = partsOfB[i].isEmpty() ? juce::String ("0") : partsOfB[i];

            if (partA.containsOnly ("0123456789") && partB.containsOnly ("0123456789"))
            {
                const auto numberA = partA.getLargeIntValue(), numberB = partB.getLargeIntValue();

                if (numberA != numberB)
                    return numberA < numberB ? -1 : 1;
            }
            else if (const auto order = partA.compareNatural (partB); order != 0)
            {
                return order;
            }
        }

        return 0;
    }

    FormatState stateForVersion (const juce::String& installedVersion, const juce::String& productVersion)
    {
        if (installedVersion.isEmpty())
            return { FormatStatus::installed, {} };

        const auto order = compareVersions (installedVersion, productVersion);
        return { order < 0 ? FormatStatus::needsUpdate : FormatStatus::installed, installedVersion, order > 0 };
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
