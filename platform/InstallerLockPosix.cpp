#include "platform/InstallerLock.h"

#include "platform/PlatformFolders.h"

#include <cerrno>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kv::platform
{
    namespace
    {
        // A leading NUL puts the name in the abstract namespace: no file, gone with the process.
        int bindAbstractName (int handle, const juce::String& name)
        {
            sockaddr_un address {};
            address.sun_family = AF_UNIX;

            const auto utf8 = name.toStdString();
            const auto length = juce::jmin (utf8.size(), sizeof (address.sun_path) - 1);
            std::memcpy (address.sun_path + 1, utf8.data(), length);

            const auto size = (socklen_t) (offsetof (sockaddr_un, sun_path) + 1 + length);
            return ::bind (handle, reinterpret_cast<const sockaddr*> (&address), size) == 0 ? 0 : errno;
        }
    }

    InstallerLock::InstallerLock (const juce::String& productName, int timeoutMs)
    {
        const auto root = sandboxRoot().getFullPathName();
        const auto name = "kv_installer/" + productName + "/" + juce::String::toHexString (root.hashCode64());
        const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32) juce::jmax (0, timeoutMs);

        for (;;)
        {
            socketHandle = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);

            if (socketHandle < 0)
            {
                unavailable = true;
                return;
            }

            const auto error = bindAbstractName (socketHandle, name);

            if (error == 0)
            {
                held = true;
                return;
            }

            ::close (socketHandle);
            socketHandle = -1;

            // Only a name in use means another installer holds it.
            if (error != EADDRINUSE)
            {
                unavailable = true;
                return;
            }

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
}
