#include "install/detail/Leftovers.h"

#include "identity/Formats.h"

#include <algorithm>

namespace kv::install::leftovers
{
    using fs::FileOperations;
    using fs::FolderHandle;
    using fs::FsStatus;
    using fs::ItemKind;
    using fs::TreeSteps;
    using fs::WalkItem;

    juce::String suffixFor (Kind kind)
    {
        switch (kind)
        {
            case Kind::staging: return ".kv-staging";
            case Kind::old: return ".kv-old";
            case Kind::removing: return ".kv-removing";
        }

        return {};
    }

    bool parse (const juce::String& name, const juce::String& bundleName, Leftover& leftover)
    {
        for (const auto kind : { Kind::staging, Kind::old, Kind::removing })
        {
            const auto stem = bundleName + suffixFor (kind);

            if (! name.startsWith (stem))
                continue;

            const auto number = name.substring (stem.length());

            if (number.isEmpty() || (number.length() < 9 && number.containsOnly ("0123456789")))
            {
                leftover = { name, kind, number.isEmpty() ? 1 : number.getIntValue() };
                return true;
            }
        }

        return false;
    }

    std::vector<Leftover> findIn (const FolderHandle& folder, const juce::String& bundleName)
    {
        std::vector<Leftover> found;
        juce::StringArray names;
        folder.list (names);

        for (const auto& name : names)
        {
            Leftover leftover;
            if (parse (name, bundleName, leftover))
                found.push_back (leftover);
        }

        std::sort (found.begin(), found.end(), [] (const Leftover& a, const Leftover& b)
                   { return a.kind != b.kind ? a.kind < b.kind : a.number < b.number; });
        return found;
    }

    juce::String freeNameFor (const FolderHandle& folder, const juce::String& bundleName, Kind kind)
    {
        int highest = 0;

        for (const auto& leftover : findIn (folder, bundleName))
            if (leftover.kind == kind)
                highest = juce::jmax (highest, leftover.number);

        const auto stem = bundleName + suffixFor (kind);
        return highest == 0 ? stem : stem + juce::String (highest + 1);
    }

    bool isLoadableName (const juce::String& name)
    {
        for (const auto& extension : formatExtensions)
            if (name.endsWithIgnoreCase (extension))
                return true;

        return false;
    }

    juce::String inertNameFor (const juce::String& name)
    {
        return isLoadableName (name) ? name + inertSuffix : name;
    }

    bool makeInert (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        TreeSteps steps;
        steps.visit = [&files] (const WalkItem& item)
        {
            return isLoadableName (item.name) ? files.renameRetrying (item.parent, item.name, item.parent, inertNameFor (item.name))
                                              : FsStatus (FsStatus::ok);
        };

        return fs::walkTree (files, parent, name, steps).succeeded();
    }

    bool undoInert (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        TreeSteps steps;
        steps.visit = [&files] (const WalkItem& item) -> FsStatus
        {
            const auto loadable = item.name.dropLastCharacters (inertSuffix.length());

            if (item.isTop || ! item.name.endsWith (inertSuffix) || ! isLoadableName (loadable))
                return FsStatus::ok;

            return files.renameRetrying (item.parent, item.name, item.parent, loadable);
        };

        return fs::walkTree (files, parent, name, steps).succeeded();
    }

    bool holdsInertNames (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        bool found = false;
        TreeSteps steps;
        steps.visit = [&found] (const WalkItem& item)
        {
            found = found || (! item.isTop && item.name.endsWith (inertSuffix));
            return FsStatus::ok;
        };

        fs::walkTree (files, parent, name, steps);
        return found;
    }

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
        result.heldAt = removal.failedAt;
        result.refused = removal.status == FsStatus::denied;
        result.leftAt = folder.pathOf (current);
        result.hiddenFromHosts = makeInert (files, folder, current);
        result.removalScheduled = scheduleSafely (files, folder, current);
        return result;
    }
}
