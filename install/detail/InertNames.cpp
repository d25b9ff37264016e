#include "install/detail/InertNames.h"

#include "identity/Formats.h"

namespace kv::install::leftovers
{
    using fs::FileOperations;
    using fs::FolderHandle;
    using fs::FsStatus;
    using fs::TreeSteps;
    using fs::WalkItem;

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
}
