#include "main_screen/InstalledFormats.h"

#include "identity/ProductConstants.h"

namespace install_status
{
    kv::registration::InstalledFormats readInstalledFormats (const juce::String& productName, const DestinationFolders& folders)
    {
        kv::registration::InstalledFormats formats;

        for (int i = 0; i < numFormats; ++i)
        {
            auto& format = formats[(size_t) i];
            format.bundle = bundleFileFor (folders[(size_t) i], productName, i);
            const auto state = stateOf (format.bundle, versionFileIn (format.bundle, productName, i), product::version);
            format.installed = state.status != FormatStatus::notInstalled;
            format.version = state.version;
        }

        return formats;
    }

    kv::registration::Result registerWhatIsInstalled (const juce::String& productName, const DestinationFolders& folders)
    {
        const auto formats = readInstalledFormats (productName, folders);
        juce::String latest;

        for (const auto& format : formats)
            if (format.installed && (latest.isEmpty() || compareVersions (format.version, latest) > 0))
                latest = format.version;

        return kv::registration::update (formats, latest);
    }
}
