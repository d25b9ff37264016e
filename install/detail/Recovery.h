#pragma once

#include "install/Install.h"

// Before anything looks at the bundles, what a killed pass left is put right: every staged or
// discarded copy goes (or, while in use, is hidden from hosts), then the copy the last pass
// moved aside is put back where the bundle is missing. Old copies go only while a copy the
// installer put there stands in their place: the user's only copy is never deleted.
namespace kv::install
{
    enum class OldCopies
    {
        goBesideAPlacedCopy, // only while the item in the bundle's place is one the installer put there
        goBesideAnyBundle // an uninstall: the user asked for every copy to go, before the bundle does
    };

    // Works in the folder through its handle, as the pass that called it does.
    RecoveryResult recoverBundle (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName,
                                  OldCopies oldCopies = OldCopies::goBesideAPlacedCopy);

    // Opens the bundle's folder, following a link or junction there, and recovers in it.
    RecoveryResult recoverBundle (const juce::File& bundle, fs::FileOperations& files = fs::FileOperations::real());
}
