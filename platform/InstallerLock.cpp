#include "platform/InstallerLock.h"

#include "platform/PlatformFolders.h"

#if ! JUCE_WINDOWS
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace kv::platform
{
#if JUCE_WINDOWS
    InstallerLock::InstallerLock (const juce::String& productName, int timeoutMs)
        : mutex (std::make_unique<juce::InterProcessLock> ("Korvane_kv_installer_" + productName))
    {
        held = mutex->enter (timeoutMs);
    }

    InstallerLock::~InstallerLock()
    {
        if (held)
            mutex->exit();
    }
#else
    static bool bindAbstractName (int handle, const juce::String& name)
    {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;

        // A leading NUL puts the name in the abstract namespace: no file, gone with the process.
        const auto utf8 = name.toStdString();
        const auto length = juce::jmin (utf8.size(), sizeof (address.sun_path) - 1);
        std::memcpy (address.sun_path + 1, utf8.data(), length);

        return ::bind (handle, reinterpret_cast<const sockaddr*> (&address), (socklen_t) (offsetof (sockaddr_un, sun_path) + 1 + length)) == 0;
    }

    InstallerLock::InstallerLock (const juce::String& productName, int timeoutMs)
    {
        const auto root = sandboxRoot().getFullPathName();
        const auto name = "kv_installer/" + productName + "/" + juce::String::toHexString (root.hashCode64());
        const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32) juce::jmax (0, timeoutMs);

        for (;;)
        {
            socketHandle = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);

            if (socketHandle >= 0 && bindAbstractName (socketHandle, name))
            {
                held = true;
                return;
            }

            if (socketHandle >= 0)
                ::close (socketHandle);

            socketHandle = -1;

            if (juce::Time::getMillisecondCounter() >= giveUpAt)
                return;

            juce::Thread::sleep (20);
        }
    }

    InstallerLock::~InstallerLock()
    {
        if (socketHandle >= 0)
            ::close (socketHandle);
    }
#endif
}
