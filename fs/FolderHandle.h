#pragma once

#include "fs/HandleOutputStream.h"

#include <memory>

// Work inside folders that others may write to, as an elevated installer must do it: a
// folder is opened once, and every item below it is reached from its parent's handle, one
// name at a time, never through a link. A link or junction swapped in after a check can then
// only ever be renamed or removed itself, never steer the action somewhere else.
namespace kv::fs
{
    class FolderHandle final
    {
    public:
        FolderHandle() = default;
        ~FolderHandle();
        FolderHandle (FolderHandle&&) noexcept;
        FolderHandle& operator= (FolderHandle&&) noexcept;

        // Opens a folder by its full path, following links on the way and at the folder itself:
        // a plug-in folder moved to another drive behind a junction is common.
        static FolderHandle openPath (const juce::File& folder, FsStatus& status);

        bool isOpen() const noexcept;

        // Which folder this handle is of, wherever it has been moved since.
        FsStatus identity (ItemIdentity& identity) const;

        // The path this folder was reached by: for messages and tests, never to reach an item.
        const juce::File& path() const noexcept { return folderPath; }
        juce::File pathOf (const juce::String& name) const { return folderPath.getChildFile (name); }

        ItemKind kindOf (const juce::String& name, FsStatus& status) const;
        FsStatus list (juce::StringArray& names) const;

        // Opens a child folder, never through a link.
        FolderHandle openFolder (const juce::String& name, FsStatus& status) const;
        FsStatus createFolder (const juce::String& name) const;

        // Creates a new file, never replacing anything or writing through a link.
        std::unique_ptr<HandleOutputStream> createFile (const juce::String& name, FsStatus& status) const;

        // Renames a child into another open folder on the same volume. Never replaces an item.
        FsStatus rename (const juce::String& name, const FolderHandle& toFolder, const juce::String& toName) const;

        // Removes a file, a link (not its target) or an empty folder. A read-only mark is cleared
        // only where the system cannot delete past it, and put back if the delete is refused.
        FsStatus remove (const juce::String& name) const;

        // As remove, but only while the item under the name is the one of that identity: what a
        // pass made goes, never an item another put under the same name.
        FsStatus removeIfSame (const juce::String& name, const ItemIdentity& expected) const;

        // Clears the read-only, hidden and system attributes (elsewhere: gives the owner write
        // access) of a folder about to be emptied and removed, so that no mark keeps its
        // children (Wine keeps a read-only folder's); a link is left alone.
        FsStatus clearProtectiveAttributes (const juce::String& name) const;

        // The marks clearProtectiveAttributes clears (the mode bits elsewhere), to put back with
        // restoreProtectiveAttributes on an item that then could not go; a link is left alone.
        FsStatus protectiveAttributes (const juce::String& name, juce::uint32& marks) const;
        FsStatus restoreProtectiveAttributes (const juce::String& name, juce::uint32 marks) const;

        // Writes everything written on this folder's volume to the disk, so that a power cut
        // after a rename cannot leave a renamed file without its bytes. Windows flushes each
        // file as it is closed instead.
        void syncToDisk() const;

        // Which item stands under the name now, never through a link.
        FsStatus identityOf (const juce::String& name, ItemIdentity& identity) const;

        // True when users other than administrators may create, rename or delete items in this
        // folder: from its security descriptor on Windows, its mode bits elsewhere.
        bool othersMayChange() const;

        // Asks Windows to delete the child when it next starts, unless it already will. Windows
        // does that by path, so callers ask only for items no standard user can swap. False off
        // Windows.
        bool scheduleRemovalAtRestart (const juce::String& name) const;

    private:
#if defined(_WIN32)
        using Native = void*;
        static constexpr Native invalid = nullptr;
#else
        using Native = int;
        static constexpr Native invalid = -1;
#endif
        FolderHandle (Native, juce::File);
        void close() noexcept;
        static void closeNative (Native) noexcept;

        Native handle = invalid;
        juce::File folderPath;
    };
}
