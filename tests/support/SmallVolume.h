#pragma once

#include <juce_core/juce_core.h>

#include <sys/mount.h>

namespace kv::test
{
    // A real, small file system (tmpfs) mounted at a folder, so that a write runs out of space
    // as it would on a full drive. Needs the right to mount; isMounted() says whether it worked.
    struct SmallVolume final
    {
        SmallVolume (const juce::File& at, int kilobytes)
            : mountPoint (at)
        {
            mountPoint.createDirectory();
            const auto options = "size=" + juce::String (kilobytes) + "k";
            mounted = ::mount ("tmpfs", mountPoint.getFullPathName().toRawUTF8(), "tmpfs", 0, options.toRawUTF8()) == 0;
        }

        ~SmallVolume()
        {
            if (mounted)
                ::umount2 (mountPoint.getFullPathName().toRawUTF8(), MNT_DETACH);
        }

        bool isMounted() const noexcept { return mounted; }

        juce::File mountPoint;
        bool mounted = false;

        JUCE_DECLARE_NON_COPYABLE (SmallVolume)
    };
}
