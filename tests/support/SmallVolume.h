#pragma once

#include <juce_core/juce_core.h>

#include <sys/mount.h>

namespace kv::test
{
    // A small volume of its own (a tmpfs) mounted on a folder, to fill up for real: a full disk
    // is a state of the system, not a failure a test can make up. Needs root, as CI runs.
    struct SmallVolume final
    {
        SmallVolume (const juce::File& folder, int kilobytes)
            : mountPoint (folder)
            , maxBlocks (kilobytes / 4 + 16)
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

        // Writes a filler file until the volume refuses more.
        void fill() const
        {
            juce::FileOutputStream out (mountPoint.getChildFile ("filler"));
            const juce::HeapBlock<char> block (4096, true);
            for (int i = 0; i < maxBlocks && out.write (block, 4096) && out.getStatus().wasOk(); ++i)
                out.flush();
        }

        juce::File mountPoint;
        int maxBlocks;
        bool mounted = false;

        JUCE_DECLARE_NON_COPYABLE (SmallVolume)
    };
}
