// The swap: how a new copy of a bundle takes the old one's place.
//
// Two threats shape it. A pass can be killed, or lose power, between any two steps; and a
// plug-in host scans the folder (recursively) at any moment and loads the first copy it finds
// under a loadable name ("*.vst3", "*.clap", "*.aaxplugin"). So the bundle changes only by
// renames within the destination folder, every copy but one carries inert names, and the
// next start (Recovery.cpp) puts right whatever a killed pass left. The steps, in order, and
// what a kill after each leaves:
//
//   0. The new copy is unpacked into "<bundle>.kv-staging", every loadable name inert
//      (Staging.cpp). Left: the old bundle and a staging folder, which recovery removes.
//   1. The staged bytes are synced to the disk. Left: as 0.
//   2. The bundle is renamed "<bundle>.kv-old[N]". Left: no bundle and the old copy aside,
//      still loadable; recovery puts it back.
//   3. The old copy's loadable names are made inert. Left: no bundle, the old copy partly
//      inert; recovery gives its names back and puts it back.
//   4. The staged copy's inside names are given back (the copy itself stays inert). Left: a
//      loadable new copy inside the staging folder and an inert old one; recovery removes the
//      staging folder and puts the old copy back.
//   5. A record of the staged copy's identity is written beside it ("<bundle>.kv-placed.…",
//      PlacedRecord.h), then the staged copy is renamed into the bundle's place. Left: the new
//      bundle, an inert old copy and an empty staging folder; recovery removes both, as the
//      copy the record names stands there. Any other item there keeps the old copy.
//   6. The staging folder, every old copy and the record go (BundleInstaller.cpp). An old copy
//      still in use is renamed ".kv-removing", made inert and left for later.
//
// A host holding the old copy makes step 2 fail on Windows (a folder with an open file
// inside cannot be renamed): nothing has changed then, and the pass says so. A virus scanner
// holding a file for a moment is waited out by the retrying renames. A link swapped in by a
// standard user steers nothing: every step acts by name from the folder's handle.

#include "install/detail/Swap.h"

#include "install/detail/InertNames.h"
#include "install/detail/Leftovers.h"
#include "install/detail/PlacedRecord.h"
#include "install/detail/Refusal.h"

namespace kv::install
{
    using fs::FileOperations;
    using fs::FolderHandle;
    using fs::FsStatus;
    using fs::ItemKind;

    namespace
    {
        // After a failed step 3, 4 or 5: the previous copy goes back first; the report says where
        // it is if it cannot.
        void putOldCopyBack (FileOperations& files, const FolderHandle& folder, const juce::String& bundleName, SwapResult& result)
        {
            const auto back = result.previous.isEmpty()
                              || (leftovers::undoInert (files, folder, result.previous)
                                  && files.renameRetrying (folder, result.previous, folder, bundleName) == FsStatus::ok);
            if (! back)
                result.previousCopyAt = folder.pathOf (result.previous);
        }

        // Steps 2 and 3; what refused the first, or failed, with the old copy back in place where
        // it could be, when either failed.
        FsStatus moveOldCopyAside (FileOperations& files, const FolderHandle& folder, const juce::String& bundleName, SwapResult& result)
        {
            result.previous = leftovers::freeNameFor (folder, bundleName, leftovers::Kind::old);

            if (const auto moved = files.renameRetrying (folder, bundleName, folder, result.previous); moved != FsStatus::ok)
                return moved;

            // The old copy leaves every host's sight before the new one may be seen.
            if (leftovers::makeInert (files, folder, result.previous))
                return FsStatus::ok;

            putOldCopyBack (files, folder, bundleName, result);
            return FsStatus::failed;
        }

        // Steps 4 and 5, and the check that what stands under the bundle's name is then the staged
        // copy itself, before any old copy may go.
        FsStatus placeNewCopy (FileOperations& files, const FolderHandle& staging, const juce::String& stagedName, const FolderHandle& folder,
                               const juce::String& bundleName, bool& strangerInPlace)
        {
            fs::ItemIdentity staged, placed;

            if (staging.identityOf (stagedName, staged) != FsStatus::ok || ! leftovers::undoInert (files, staging, stagedName))
                return FsStatus::failed;

            // Written before the copy may stand there: a start after a kill from here on knows it.
            if (const auto recorded = placed::write (files, folder, bundleName, staged); recorded != FsStatus::ok)
                return recorded;

            if (const auto renamed = files.renameRetrying (staging, stagedName, folder, bundleName); renamed != FsStatus::ok)
                return renamed;

            strangerInPlace = folder.identityOf (bundleName, placed) != FsStatus::ok || placed != staged;
            return strangerInPlace ? FsStatus (FsStatus::failed) : FsStatus (FsStatus::ok);
        }

    }

    SwapResult swapIn (FileOperations& files, const FolderHandle& folder, const juce::String& bundleName, const juce::String& stagingName)
    {
        SwapResult result;
        const auto bundlePath = folder.pathOf (bundleName).getFullPathName();
        const auto stagedName = leftovers::inertNameFor (bundleName);

        FsStatus status;
        const auto staging = files.openFolder (folder, stagingName, status);
        const auto bundleKind = folder.kindOf (bundleName, status);

        // Only "not found" means there is no copy to keep.
        if (! staging.isOpen() || (bundleKind == ItemKind::absent && status != FsStatus::notFound))
        {
            result.problem = problemFor (status, InstallProblem::bundleInUse);
            result.detail = bundlePath;
            result.cause = status.error;
            return result;
        }

        // Step 1, while the old copy still stands.
        staging.syncToDisk();

        if (bundleKind != ItemKind::absent)
        {
            if (const auto aside = moveOldCopyAside (files, folder, bundleName, result); aside != FsStatus::ok)
            {
                result.problem = problemFor (aside, InstallProblem::bundleInUse);
                result.detail = bundlePath;
                result.cause = aside.error;
                return result;
            }
        }

        bool strangerInPlace = false;
        const auto placed = placeNewCopy (files, staging, stagedName, folder, bundleName, strangerInPlace);

        if (strangerInPlace)
        {
            // Something else took the bundle's name: the old copy stays aside, where it is.
            result.problem = InstallProblem::replacedByAnother;
            result.detail = bundlePath;
            if (result.previous.isNotEmpty())
                result.previousCopyAt = folder.pathOf (result.previous);
        }
        else if (placed != FsStatus::ok)
        {
            result.stagedCopyHidden = leftovers::makeInert (files, staging, stagedName);
            putOldCopyBack (files, folder, bundleName, result);
            result.problem = problemFor (placed, InstallProblem::writeFailed);
            result.detail = bundlePath;
            result.cause = placed.error;
        }

        if (result.problem != InstallProblem::none)
            placed::removeAll (files, folder, bundleName);

        return result;
    }
}
