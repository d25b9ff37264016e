#pragma once

#include "main_screen/InstallStatus.h"
#include "registration/Registration.h"
#include "settings/DestinationSettings.h"

// What the status read finds on disk, handed to the detection keys and the Apps & Features
// entry after every pass and every start-up recovery, from the window or an unattended run.
namespace install_status
{
    kv::registration::InstalledFormats readInstalledFormats (const juce::String& productName, const DestinationFolders& folders);

    kv::registration::Result registerWhatIsInstalled (const juce::String& productName, const DestinationFolders& folders);
}
