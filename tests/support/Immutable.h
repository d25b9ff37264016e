#pragma once

#include <juce_core/juce_core.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kv::test
{
    // An immutable item refuses even root, as Windows refuses an administrator access to an item
    // whose permissions or a security program say no. The flag goes with the guard.
    struct Immutable final
    {
        explicit Immutable (const juce::File& itemToLock)
            : item (itemToLock)
        {
            locked = set (true);
        }
        ~Immutable() { set (false); }

        bool set (bool on) const
        {
            const auto fd = ::open (item.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            int flags = 0;
            const auto done = fd >= 0 && ::ioctl (fd, FS_IOC_GETFLAGS, &flags) == 0
                              && (flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL, ::ioctl (fd, FS_IOC_SETFLAGS, &flags) == 0);
            if (fd >= 0)
                ::close (fd);
            return done;
        }

        juce::File item;
        bool locked = false;

        JUCE_DECLARE_NON_COPYABLE (Immutable)
    };
}
