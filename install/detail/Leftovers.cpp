#include "install/detail/Leftovers.h"

#include <algorithm>

namespace kv::install::leftovers
{
    using fs::FolderHandle;

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
}
