#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace kv::platform
{
    /** Held while one installer works on a product's bundles, so that two never do at
        once. On Windows it is a named system mutex (JUCE's InterProcessLock), released by
        Windows if the holder dies. Elsewhere it is an abstract local socket whose name comes
        from the sandbox root, so tests with their own roots never meet and nothing is
        written to disk. */
    class InstallerLock final
    {
    public:
        InstallerLock (const juce::String& productName, int timeoutMs);
        ~InstallerLock();

        bool isHeld() const noexcept { return held; }

    private:
        bool held = false;
#if JUCE_WINDOWS
        std::unique_ptr<juce::InterProcessLock> mutex;
#else
        int socketHandle = -1;
#endif

        JUCE_DECLARE_NON_COPYABLE (InstallerLock)
    };
}
