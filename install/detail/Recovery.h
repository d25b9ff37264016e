#pragma once

#include "install/Install.h"

// Before anything looks at the bundles, what a killed pass left is put right: every staged or
// discarded copy goes (or, while in use, is hidden from hosts), then the copy the last pass
// moved aside is put back where the bundle is missing. Old copies go only while a whole
// bundle stands in their place: the user's only copy is never deleted.
namespace kv::install
{
    // Works in the folder through its handle, as the pass that called it does.
    RecoveryResult recoverBundle (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName);

    // Opens the bundle's folder, following a link or junction there, and recovers in it.
    RecoveryResult recoverBundle (const juce::File& bundle, fs::FileOperations& files = fs::FileOperations::real());
}
