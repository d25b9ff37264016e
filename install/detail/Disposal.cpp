#include "install/detail/Disposal.h"

#include "install/detail/InertNames.h"
#include "install/detail/Leftovers.h"

namespace kv::install::leftovers
{
    using fs::FileOperations;
    using fs::FolderHandle;
    using fs::FsStatus;
    using fs::TreeSteps;
    using fs::WalkItem;

    // Windows deletes scheduled items at boot by path, as SYSTEM: only where no standard user
    // can write any folder from the destination down may it be asked to. Each folder goes
    // after what it holds, and only when all of that could be scheduled.
    static bool scheduleSafely (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        if (parent.othersMayChange())
            return false;

        TreeSteps steps;
        steps.mayEnter = [] (const FolderHandle& folder)
        { return ! folder.othersMayChange(); };
        steps.visit = [&files] (const WalkItem& item)
        {
            const auto scheduled = item.insideComplete && files.scheduleRemovalAtRestart (item.parent, item.name);
            return scheduled ? FsStatus::ok : FsStatus::failed;
        };

        const auto walk = fs::walkTree (files, parent, name, steps);
        return ! walk.topMissing && walk.succeeded();
    }

    Disposal disposeOf (FileOperations& files, const FolderHandle& folder, const juce::String& name, const juce::String& bundleName)
    {
        Disposal result;
        Leftover leftover;
        auto current = name;

        if (parse (name, bundleName, leftover) && leftover.kind != Kind::removing)
        {
            const auto garbage = freeNameFor (folder, bundleName, Kind::removing);

            if (files.renameRetrying (folder, name, folder, garbage) == FsStatus::ok)
                current = garbage;
            else
            {
                // Nothing is deleted under an old copy's name: it stays whole, out of sight.
                result.removed = false;
                result.leftAt = folder.pathOf (name);
                result.hiddenFromHosts = makeInert (files, folder, name);
                return result;
            }
        }

        const auto removal = files.removeRecursively (folder, current);

        if (removal.gone())
            return result;

        result.removed = false;
        result.refused = removal.status == FsStatus::denied;
        result.leftAt = folder.pathOf (current);
        result.hiddenFromHosts = makeInert (files, folder, current);
        result.removalScheduled = scheduleSafely (files, folder, current);
        return result;
    }
}
