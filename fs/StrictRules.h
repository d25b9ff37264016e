#pragma once

#include <juce_core/juce_core.h>

// Windows keeps rules on open handles that POSIX systems do not: a folder cannot be renamed
// or deleted while any handle below it is open (the installer's own included), and a file
// held open without delete sharing can be neither renamed nor deleted; names that differ only
// in case are one name, and a name deleted while another program holds it stays until that
// program lets go. Off Windows, the
// handle layer can hold itself to these rules, so that code which would fail on Windows
// fails the tests here. It counts every handle it opens, per item; another program's handle
// is a Hold. Off by default, and then it costs nothing: the test suite turns it on before it
// opens any handle.
namespace kv::fs::strict
{
    void enable (bool on);
    bool isEnabled();

    // Another program's handle on an item, open until this goes.
    class Hold final
    {
    public:
        enum class Kind
        {
            loadedModule, // a host's loaded module: it may be renamed, not deleted
            openWithoutDeleteSharing, // it may be neither renamed nor deleted
            currentFolder, // a folder a host or a console works in: it may be neither renamed nor deleted
            // A scanner's handle that shares delete, on a volume without POSIX deletion (FAT,
            // exFAT, a share, Windows before 10 1809): a delete is accepted, but the name stays,
            // delete pending, until this goes. Meanwhile the name cannot be opened or made again,
            // and its folder is not empty.
            sharingDelete
        };

        Hold (const juce::File& item, Kind heldAs);
        ~Hold();

        bool isHeld() const noexcept { return fd >= 0; }

    private:
        int fd = -1;

        JUCE_DECLARE_NON_COPYABLE (Hold)
    };

    // How many renames and removals the rules refused since the process started, and which
    // handle blocked the last of them.
    int refusedCount();
    juce::String lastRefusal();
}
