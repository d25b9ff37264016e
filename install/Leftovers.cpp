#include "install/Leftovers.h"

#include "identity/ProductIdentity.h"

#include <algorithm>

namespace leftovers
{
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

    // Calls visit (folder, child) for every item directly inside; false when the folder could
    // not be opened or listed, so what it holds is unknown.
    template <typename Visit>
    static bool forEachChild (FileOperations& files, const FolderHandle& parent, const juce::String& name, Visit&& visit)
    {
        FsStatus status;

        if (parent.kindOf (name, status) != ItemKind::folder)
            return status == FsStatus::ok || status == FsStatus::notFound;

        auto folder = files.openFolder (parent, name, status);
        juce::StringArray children;

        if (! folder.isOpen() || folder.list (children) != FsStatus::ok)
            return false;

        bool all = true;
        for (const auto& child : children)
            all &= visit (folder, child);

        return all;
    }

    bool makeInert (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        auto all = forEachChild (files, parent, name, [&] (const FolderHandle& folder, const juce::String& child)
                                 { return makeInert (files, folder, child); });

        if (isLoadableName (name))
            all &= files.renameRetrying (parent, name, parent, inertNameFor (name)) == FsStatus::ok;

        return all;
    }

    bool undoInert (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        return forEachChild (files, parent, name, [&] (const FolderHandle& folder, const juce::String& child)
                             {
            auto all = undoInert (files, folder, child);
            const auto loadable = child.dropLastCharacters (inertSuffix.length());

            if (child.endsWith (inertSuffix) && isLoadableName (loadable))
                all &= files.renameRetrying (folder, child, folder, loadable) == FsStatus::ok;

            return all; });
    }

    bool holdsInertNames (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        bool found = false;
        forEachChild (files, parent, name, [&] (const FolderHandle& folder, const juce::String& child)
                      {
            found = found || child.endsWith (inertSuffix) || holdsInertNames (files, folder, child);
            return true; });
        return found;
    }

    // Windows deletes scheduled items at boot by path, as SYSTEM: only where no standard user
    // can write any folder from the destination down may it be asked to.
    static bool scheduleSafely (FileOperations& files, const FolderHandle& parent, const juce::String& name)
    {
        if (parent.othersMayChange())
            return false;

        FsStatus status;
        const auto kind = parent.kindOf (name, status);

        if (kind == ItemKind::folder)
        {
            auto folder = files.openFolder (parent, name, status);
            juce::StringArray children;

            if (! folder.isOpen() || folder.othersMayChange() || folder.list (children) != FsStatus::ok)
                return false;

            // Files first, then folders, each after what it holds.
            bool all = true;
            for (const auto& child : children)
                if (folder.kindOf (child, status) != ItemKind::folder)
                    all &= files.scheduleRemovalAtRestart (folder, child);
            for (const auto& child : children)
                if (folder.kindOf (child, status) == ItemKind::folder)
                    all &= scheduleSafely (files, folder, child);

            return all && files.scheduleRemovalAtRestart (parent, name);
        }

        return kind != ItemKind::absent && files.scheduleRemovalAtRestart (parent, name);
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

        if (files.removeRecursively (folder, current))
            return result;

        result.removed = false;
        result.leftAt = folder.pathOf (current);
        result.hiddenFromHosts = makeInert (files, folder, current);
        result.removalScheduled = scheduleSafely (files, folder, current);
        return result;
    }
}
