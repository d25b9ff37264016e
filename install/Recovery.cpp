#include "install/Recovery.h"

#include "identity/ProductIdentity.h"
#include "install/Leftovers.h"
#include "platform/InstallerLock.h"

RecoveryResult recoverBundle (const juce::File& bundle, FileOperations& files)
{
    RecoveryResult result;

    if (bundle == juce::File())
        return result;

    if (! itemExists (bundle))
    {
        leftovers::Kind kind;

        for (const auto& item : leftovers::findFor (bundle))
        {
            if (leftovers::isLeftoverOf (item, bundle, kind) && kind == leftovers::Kind::old
                && leftovers::isIntactOldCopy (item) && files.move (item, bundle))
            {
                ++result.restored;
                break;
            }
        }
    }

    for (const auto& item : leftovers::findFor (bundle))
    {
        if (leftovers::disposeOf (item, bundle, files).removed)
            ++result.removed;
        else
            ++result.stillInUse;
    }

    return result;
}

RecoveryResult recoverAtStart (const juce::String& productName, const FormatArray<juce::File>& destinationFolders, FileOperations& files)
{
    RecoveryResult total;
    kv::platform::InstallerLock lock (productName, 0);

    if (! lock.isHeld())
        return total;

    for (int i = 0; i < numFormats; ++i)
    {
        const auto& folder = destinationFolders[(size_t) i];

        if (! isUsableDestination (folder))
            continue;

        const auto result = recoverBundle (folder.getChildFile (productName + formatExtensions[i]), files);
        total.restored += result.restored;
        total.removed += result.removed;
        total.stillInUse += result.stillInUse;
    }

    return total;
}
