#pragma once

#include "archive/ArchiveFinding.h"
#include "fs/FsStatus.h"

#include <vector>

// What a pass achieved for each format it touched, as facts: which format, what went wrong and
// where, what the system answered, what became of each copy. messages/ makes the words.
namespace kv::install
{
    enum class InstallProblem
    {
        none,
        noDestination, // the destination is empty or not an absolute path
        destinationNotCreatable,
        bundleInUse, // the installed copy could not be moved or removed
        writeFailed, // a new file could not be written
        archiveDamaged, // sizes or CRC-32 do not match the archive's records
        archiveUnsafe, // entries outside the bundle, absolute names or links
        notEnoughMemory, // an entry is larger than this computer can unpack in memory
        accessDenied, // permission to change an item was refused: waiting would change nothing
        replacedByAnother, // another item took the bundle's name as the new copy was put there
        diskFull, // the destination's volume, or the user's quota on it, is full
        deviceNotReady, // the destination's drive is gone or not ready (unplugged, a card taken out)
        folderGone // a folder the pass was working in was removed or moved away
    };

    struct FormatOutcome
    {
        int formatIndex = -1;
        InstallProblem problem = InstallProblem::none;
        juce::String detail; // a path or entry name that explains the problem, if any
        fs::SystemError systemError; // what the operating system answered, when the problem came from it
        archive::ArchiveFinding archiveFinding; // what is wrong with the archive, when its check refused it

        // Installed or removed, but what was replaced is still in use by a program: it is
        // renamed out of every host's sight and goes later.
        juce::File stillInUse;
        bool hiddenFromHosts = true; // every loadable name in what is still in use was renamed
        bool removalScheduled = false; // Windows deletes it when it next starts
        bool removalRefused = false; // not in use: permission to delete a file of it was refused

        // Not installed, and the copy that was there could not be put back: where it is now.
        juce::File previousCopyAt;

        // Not installed, and what this pass made could not all be removed yet: where it is, and
        // whether anything in it is still loadable by a host.
        juce::File leftoverAt;
        bool leftoverHidden = true;

        // Copies an earlier pass moved aside and that could not be put back, with no bundle in
        // their place: kept as they are, where the user can find them.
        juce::Array<juce::File> oldCopiesKept;

        bool succeeded() const noexcept { return problem == InstallProblem::none; }
    };

    struct InstallReport
    {
        bool uninstall = false;
        bool anotherInstallerRunning = false; // the pass did not start: nothing was touched
        bool lockUnavailable = false; // the pass did not start: the installers' lock could not be made
        std::vector<FormatOutcome> outcomes;

        bool succeeded() const;
    };
}
