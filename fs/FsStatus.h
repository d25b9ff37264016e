#pragma once

#include <juce_core/juce_core.h>

namespace kv::fs
{
    // How a call ended. Only notFound means the item is absent; anything else that is not ok
    // is a failure to report.
    enum class FsStatus
    {
        ok,
        notFound, // file or path not found
        exists, // the new name is taken
        busy, // in use, or a state that passes (a sharing violation, delete pending): worth waiting for
        denied, // permission refused, an immutable item included: waiting changes nothing
        notEmpty,
        notAFolder, // a link, or a file, where a folder was expected
        failed
    };

    // Which file or folder an item is, whatever its name: the same on a volume for as long as it lives.
    struct ItemIdentity
    {
        juce::uint64 volume = 0, file = 0;

        bool operator== (const ItemIdentity& other) const noexcept { return volume == other.volume && file == other.file; }
        bool operator!= (const ItemIdentity& other) const noexcept { return ! operator== (other); }
    };

    enum class ItemKind
    {
        absent,
        file,
        folder,
        link, // a symbolic link or junction, never followed
        other
    };
}
