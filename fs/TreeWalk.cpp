#include "fs/TreeWalk.h"

#include "fs/FileOperations.h"

namespace kv::fs
{
    void WalkResult::fail (FsStatus failure, const juce::String& path)
    {
        if (succeeded())
        {
            status = failure;
            failedAt = path;
        }
    }

    void WalkResult::add (const WalkResult& inner)
    {
        if (! inner.succeeded())
            fail (inner.status, inner.failedAt);
    }

    namespace
    {
        WalkResult walkItem (FileOperations& files, const FolderHandle& parent, const juce::String& name, const juce::String& path,
                             bool isTop, const TreeSteps& steps);

        // The folder's handle is open only in here, and closed before the folder itself is visited.
        WalkResult walkInside (FileOperations& files, const WalkItem& item, const TreeSteps& steps)
        {
            WalkResult result;

            if (steps.beforeOpening)
                steps.beforeOpening (item);

            FsStatus status;
            const auto folder = files.openFolder (item.parent, item.name, status);
            juce::StringArray children;

            if (! folder.isOpen())
                result.fail (status, item.relativePath);
            else if (steps.mayEnter && ! steps.mayEnter (folder))
                result.fail (FsStatus::failed, item.relativePath);
            else if (const auto listed = folder.list (children); listed != FsStatus::ok)
                result.fail (listed, item.relativePath);
            else
                for (const auto& child : children)
                    result.add (walkItem (files, folder, child, item.relativePath + "/" + child, false, steps));

            return result;
        }

        WalkResult walkItem (FileOperations& files, const FolderHandle& parent, const juce::String& name, const juce::String& path,
                             bool isTop, const TreeSteps& steps)
        {
            WalkResult result;
            FsStatus status;
            WalkItem item { parent, name, parent.kindOf (name, status), path, isTop };

            // Gone already: nothing to do, and no failure, unless the look itself failed. A name
            // that cannot even be looked at as busy is delete pending (a look asks for no access
            // another program could refuse): it goes as its last holder lets go, and its folder
            // is waited for as one whose children were all removed.
            if (item.kind == ItemKind::absent)
            {
                result.topMissing = isTop && status == FsStatus::notFound;
                if (status != FsStatus::notFound && status != FsStatus::busy)
                    result.fail (status, path);
                return result;
            }

            if (item.kind == ItemKind::folder)
            {
                result.add (walkInside (files, item, steps));
                item.insideComplete = result.succeeded();
            }

            const auto own = steps.visit ? steps.visit (item) : FsStatus (FsStatus::ok);
            result.topDone = isTop && own == FsStatus::ok;

            if (own != FsStatus::ok)
                result.fail (own, path);

            return result;
        }
    }

    WalkResult walkTree (FileOperations& files, const FolderHandle& parent, const juce::String& name, const TreeSteps& steps)
    {
        return walkItem (files, parent, name, name, true, steps);
    }
}
