#pragma once

#include "install/FileOperations.h"

#include "identity/FormatTable.h"

// A pass that was killed, or lost power, can leave its work half done beside a bundle.
// Before anything looks at the bundles, what such a pass left is put right: an old copy
// moved aside just before the pass died is put back where the bundle is missing, and every
// other leftover of ours is removed (or, while in use, hidden from hosts and scheduled).

struct RecoveryResult
{
    int restored = 0; // old copies put back in place of a missing bundle
    int removed = 0; // leftovers removed
    int stillInUse = 0; // leftovers hidden from hosts, to go later
};

RecoveryResult recoverBundle (const juce::File& bundle, FileOperations& files = FileOperations::real());

// Every format's bundle, under the installer lock. Nothing is touched when another
// installer holds it.
RecoveryResult recoverAtStart (const juce::String& productName, const FormatArray<juce::File>& destinationFolders,
                               FileOperations& files = FileOperations::real());
