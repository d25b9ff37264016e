#pragma once

#include "fs/FileOperations.h"
#include "identity/FormatTable.h"
#include "install/InstallReport.h"

// The install engine as the screen calls it: one pass over the selected formats, and the
// recovery at start of what a killed pass left. Everything else is in install/detail/; a
// reader starts at BundleInstaller.cpp, which installs one format step by step, and Swap.cpp,
// which says what a kill at each step of the swap leaves.
namespace kv::install
{
    struct EmbeddedArchive
    {
        const void* data = nullptr;
        size_t size = 0;
        bool mappedFromExecutable = false; // true only for the archives the installer carries
    };

    // One click on INSTALL: every selected format in index order, installed from its
    // embedded archive, or only removed in uninstall mode.
    struct InstallRequest
    {
        bool uninstall = false;
        juce::String productName;
        FormatArray<bool> selected {};
        FormatArray<juce::File> destinationFolders;
        FormatArray<EmbeddedArchive> archives;

        // How long to wait for another installer's pass to end before giving up untouched.
        int lockWaitMs = 5000;
    };

    InstallReport runInstallPass (const InstallRequest& request, fs::FileOperations& files = fs::FileOperations::real());

    struct RecoveryResult
    {
        int restored = 0; // old copies put back in place of a missing bundle
        int removed = 0; // leftovers removed
        int stillInUse = 0; // leftovers hidden from hosts, to go later
        juce::Array<juce::File> oldCopiesKept; // the bundle is missing and these could not be put back
        juce::Array<juce::File> oldCopiesBesideAnother; // kept: what stands in the bundle's place is not a copy the installer put there
        bool leftForNextStart = false; // another installer held the lock, or it could not be made: nothing was touched

        void add (const RecoveryResult& other);
    };

    // A pass that was killed, or lost power, can leave its work half done beside a bundle.
    // Before anything looks at the bundles, this puts right what such a pass left, for every
    // format, under the installer lock. It waits a little for another installer's pass to end;
    // after that nothing is touched, and the result says the work is left for the next start.
    RecoveryResult recoverAtStart (const juce::String& productName, const FormatArray<juce::File>& destinationFolders,
                                   fs::FileOperations& files = fs::FileOperations::real(), int lockWaitMs = 3000);
}
