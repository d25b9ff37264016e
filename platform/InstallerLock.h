#pragma once

#include <juce_core/juce_core.h>

namespace kv::platform
{
    /** Held while one installer works on a product's bundles, so that two never do at once,
        in any session. On Windows it is a Global mutex owned by Administrators, which only
        they and SYSTEM may open; one a standard user made first is refused by its owner, so a
        squatter can stop passes but never let two run at once. Windows releases it if the
        holder dies. Elsewhere it is an abstract local socket whose name
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
#else
        int socketHandle = -1;
#endif

        JUCE_DECLARE_NON_COPYABLE (InstallerLock)
    };
}
