#pragma once

#include "install/FileOperations.h"

#include "identity/FormatTable.h"

// A pass that was killed, or lost power, can leave its work half done beside a bundle.
// Before anything looks at the bundles, what such a pass left is put right: every staged or
// discarded copy goes (or, while in use, is hidden from hosts), then the copy the last pass
// moved aside is put back where the bundle is missing. Old copies go only while a whole
// bundle stands in their place: the user's only copy is never deleted.

struct RecoveryResult
{
    int restored = 0; // old copies put back in place of a missing bundle
    int removed = 0; // leftovers removed
    int stillInUse = 0; // leftovers hidden from hosts, to go later
    juce::Array<juce::File> oldCopiesKept; // the bundle is missing and these could not be put back

    void add (const RecoveryResult& other);
};

// Works in the folder through its handle, as the pass that called it does.
RecoveryResult recoverBundle (FileOperations& files, const FolderHandle& folder, const juce::String& bundleName);

// Opens the bundle's folder, following a link or junction there, and recovers in it.
RecoveryResult recoverBundle (const juce::File& bundle, FileOperations& files = FileOperations::real());

// Every format's bundle, under the installer lock. Nothing is touched when another
// installer holds it.
RecoveryResult recoverAtStart (const juce::String& productName, const FormatArray<juce::File>& destinationFolders,
                               FileOperations& files = FileOperations::real());
