#pragma once

#include <juce_core/juce_core.h>

namespace kv::platform
{
    /** Held while one installer works on a product's bundles, so that two never do at once,
        in any session. On Windows it is a mutex in a private namespace bound to the
        Administrators group, which no standard user can create, squat or open; Windows
        releases it if the holder dies. Elsewhere it is an abstract local socket whose name
        comes from the sandbox root, so tests with their own roots never meet and nothing is
        written to disk. A lock that cannot be made at all is said so: nothing may then work
        without it. */
    class InstallerLock final
    {
    public:
        InstallerLock (const juce::String& productName, int timeoutMs);
        ~InstallerLock();

        bool isHeld() const noexcept { return held; }

        // The lock could not be made (not merely held by another installer).
        bool couldNotBeMade() const noexcept { return unavailable; }

    private:
        bool held = false, unavailable = false;
#if defined(_WIN32)
        void* mutex = nullptr;
        void* privateNamespace = nullptr; // where Windows has them
#else
        int socketHandle = -1;
#endif

        JUCE_DECLARE_NON_COPYABLE (InstallerLock)
    };
}
