#pragma once

#include <juce_core/juce_core.h>

namespace kv::fs
{
    // The operating system's own answer to a call, kept as it was given, so that a message or a
    // log can say what the system said instead of guessing at a cause.
    struct SystemError
    {
        enum class Kind
        {
            none,
            posix, // errno
            win32, // GetLastError
            ntstatus // an NTSTATUS from ntdll, before any mapping
        };

        Kind kind = Kind::none;
        juce::uint32 code = 0;

        bool isSet() const noexcept { return kind != Kind::none; }
        bool operator== (const SystemError& other) const noexcept { return kind == other.kind && code == other.code; }
        bool operator!= (const SystemError& other) const noexcept { return ! operator== (other); }

        static SystemError posix (int error) noexcept { return { Kind::posix, (juce::uint32) error }; }
        static SystemError win32 (unsigned long error) noexcept { return { Kind::win32, (juce::uint32) error }; }
        static SystemError ntstatus (long status) noexcept { return { Kind::ntstatus, (juce::uint32) status }; }
    };

    // How a call ended, with the system's own error beside it. Only notFound means the item is
    // absent; anything else that is not ok is a failure to report. Compares, switches and
    // assigns as its code, so `status == FsStatus::busy` reads as it always did.
    class FsStatus
    {
    public:
        enum Code
        {
            ok,
            notFound, // file or path not found
            exists, // the new name is taken
            busy, // in use, or a state that passes (a sharing violation, delete pending): worth waiting for
            denied, // permission refused, an immutable item or a read-only volume included: waiting changes nothing
            notEmpty,
            notAFolder, // a link, or a file, where a folder was expected
            noSpace, // the volume (or the user's quota on it) is full
            notReady, // the device is gone or not ready: a drive unplugged, a card taken out
            failed
        };

        constexpr FsStatus (Code c = ok, SystemError e = {}) noexcept
            : code (c)
            , error (e)
        {
        }

        constexpr operator Code() const noexcept { return code; }

        Code code;
        SystemError error;
    };

    // Which file or folder an item is, whatever its name: the same on a volume for as long as it
    // lives. Windows gives a 128-bit file ID (fileHigh, file) on a 64-bit volume serial.
    struct ItemIdentity
    {
        juce::uint64 volume = 0, file = 0, fileHigh = 0;

        bool operator== (const ItemIdentity& other) const noexcept
        {
            return volume == other.volume && file == other.file && fileHigh == other.fileHigh;
        }
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
