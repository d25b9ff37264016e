#include "install/Leftovers.h"

#include "identity/ProductIdentity.h"
#include "platform/FileItems.h"

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

    juce::File freeNameFor (const juce::File& bundle, Kind kind)
    {
        return bundle.getParentDirectory().getNonexistentChildFile (bundle.getFileName() + suffixFor (kind), {}, false);
    }

    bool isLeftoverOf (const juce::File& item, const juce::File& bundle, Kind& kind)
    {
        if (item.getParentDirectory() != bundle.getParentDirectory())
            return false;

        const auto name = item.getFileName();

        for (const auto candidate : { Kind::staging, Kind::old, Kind::removing })
        {
            const auto stem = bundle.getFileName() + suffixFor (candidate);

            // The stem itself, or the stem with the number getNonexistentChildFile adds.
            if (name == stem || (name.startsWith (stem) && name.substring (stem.length()).containsOnly ("0123456789")))
            {
                kind = candidate;
                return true;
            }
        }

        return false;
    }

    juce::Array<juce::File> findFor (const juce::File& bundle)
    {
        juce::Array<juce::File> found;
        Kind kind;

        for (const auto& item : kv::platform::childrenOf (bundle.getParentDirectory()))
            if (isLeftoverOf (item, bundle, kind))
                found.add (item);

        found.sort();
        return found;
    }

    bool isLoadableName (const juce::String& name)
    {
        for (const auto& extension : formatExtensions)
            if (name.endsWithIgnoreCase (extension))
                return true;

        return false;
    }

    void makeInert (const juce::File& item, FileOperations& files)
    {
        for (const auto& child : kv::platform::childrenOf (item))
            makeInert (child, files);

        if (isLoadableName (item.getFileName()))
            files.move (item, item.getSiblingFile (item.getFileName() + inertSuffix));
    }

    static bool holdsInertItems (const juce::File& item)
    {
        if (item.getFileName().endsWith (inertSuffix))
            return true;

        for (const auto& child : kv::platform::childrenOf (item))
            if (holdsInertItems (child))
                return true;

        return false;
    }

    bool isIntactOldCopy (const juce::File& item)
    {
        return itemExists (item) && ! holdsInertItems (item);
    }

    Disposal disposeOf (const juce::File& item, const juce::File& bundle, FileOperations& files)
    {
        auto current = item;
        Kind kind;

        // An old copy that is on its way out must never again look like one to put back.
        if (isLeftoverOf (item, bundle, kind) && kind != Kind::removing)
        {
            const auto garbage = freeNameFor (bundle, Kind::removing);

            if (files.move (item, garbage))
                current = garbage;
        }

        Disposal result;

        if (files.removeRecursively (current))
            return result;

        result.removed = false;
        result.leftAt = current;
        makeInert (current, files);

        // The top item never carries a loadable name: it is one of our leftovers.
        result.removalScheduled = files.scheduleRemovalAtRestart (current);
        return result;
    }
}
