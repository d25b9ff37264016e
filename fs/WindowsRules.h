#pragma once

#include "fs/FsStatus.h"

#include <array>
#include <optional>

#include <utility>
#include <vector>

// The decisions the Windows handle layer makes, as plain functions over the values Windows
// gives, so that they are tested on every system: which reparse points are links, who may
// change a folder, and what Windows is already asked to delete at its next start.
namespace kv::fs::windows_rules
{
    // Only name surrogates (junctions, symbolic links, mount points) lead elsewhere. Cloud-file
    // placeholders, deduplicated files and container layers are reparse points too, and are
    // the files and folders they show.
    constexpr bool isNameSurrogate (juce::uint32 reparseTag) noexcept { return (reparseTag & 0x20000000u) != 0; }

    // One entry of a folder's access list, as the security rule reads it.
    struct AccessEntry
    {
        enum class Type
        {
            allowed,
            denied,
            other // an entry type the rule does not read
        };

        Type type = Type::allowed;
        bool inheritOnly = false;
        juce::uint32 mask = 0;
        bool trustedSid = false; // SYSTEM, Administrators or TrustedInstaller
    };

    // The rights that let a user create, rename or delete in a folder, turn an empty one into a
    // junction (its attributes), or give themselves any of that.
    constexpr juce::uint32 changingRights = 0x0002 /* FILE_ADD_FILE */ | 0x0004 /* FILE_ADD_SUBDIRECTORY */
                                            | 0x0010 /* FILE_WRITE_EA */ | 0x0040 /* FILE_DELETE_CHILD */
                                            | 0x0100 /* FILE_WRITE_ATTRIBUTES */ | 0x00010000 /* DELETE */
                                            | 0x00040000 /* WRITE_DAC */ | 0x00080000 /* WRITE_OWNER */
                                            | 0x02000000 /* MAXIMUM_ALLOWED */ | 0x10000000 /* GENERIC_ALL */
                                            | 0x40000000 /* GENERIC_WRITE */;

    // The rights that let a user replace a folder on the way to the destination by another (a
    // junction, say): deleting or renaming it (DELETE on it, FILE_DELETE_CHILD on its parent), or
    // giving themselves that. Adding a new child replaces nothing, and a folder that holds the
    // way on is not empty, so cannot be made a junction: FILE_ADD_SUBDIRECTORY on C:\, which
    // every default Windows grants Authenticated Users, leaves the way down as it is.
    constexpr juce::uint32 replacingRights = 0x0040 /* FILE_DELETE_CHILD */ | 0x00010000 /* DELETE */ | 0x00040000 /* WRITE_DAC */
                                             | 0x00080000 /* WRITE_OWNER */ | 0x02000000 /* MAXIMUM_ALLOWED */ | 0x10000000 /* GENERIC_ALL */;

    enum class PartOfPath
    {
        aboveTheDestination, // from the volume's root down to the destination's parent: only replacing rights
        destinationOrBelow // every changing right
    };

    // True when anyone but SYSTEM, Administrators and TrustedInstaller may change the folder (or,
    // above the destination, replace a part of the way): an owner may always change its
    // permissions, and no list at all grants everyone everything.
    bool othersMayChange (bool ownerTrusted, bool hasAccessList, const std::vector<AccessEntry>& entries,
                          PartOfPath part = PartOfPath::destinationOrBelow);

    // The Session Manager's PendingFileRenameOperations value, a REG_MULTI_SZ of UTF-16 units,
    // as its pairs of source and target. A delete has an empty target, so the value holds
    // empty strings in the middle ("source\0\0"): it is read to its length, not to the first.
    std::vector<std::pair<juce::String, juce::String>> readPendingRenames (const char16_t* units, size_t count);

    // What Windows tells of an opened item, for its identity.
    struct IdentityFacts
    {
        juce::String fileSystem; // as GetVolumeInformationByHandleW names it: "NTFS", "ReFS", "FAT32", "exFAT"
        bool hasFileIdInfo = false; // FileIdInfo answered (Windows 8 / Server 2012 on)
        juce::uint64 volumeSerial64 = 0; // from FileIdInfo
        std::array<juce::uint8, 16> fileId128 {}; // from FileIdInfo, little-endian
        juce::uint32 volumeSerial32 = 0; // from BY_HANDLE_FILE_INFORMATION
        juce::uint64 fileIndex = 0; // nFileIndexHigh and nFileIndexLow
        juce::uint64 creationTime = 0; // in 100 ns ticks
        bool isFolder = false;
    };

    // True on FAT, FAT32 and exFAT, where a file's index is its entry's place in its folder.
    bool isFatFamily (const juce::String& fileSystem);

    // Which item the facts are of, the same after a rename within its volume. NTFS and ReFS give
    // a file ID that lives as long as the item (ReFS needs all 128 bits of it; the 64-bit index
    // may repeat there). FAT and exFAT have no such ID: the index follows the entry's place, and
    // a rename moves the entry. There the identity is the volume serial, the creation time (kept
    // in the entry, to 10 ms, and carried over by a rename) and whether it is a folder. Enough
    // there: FAT has no links, junctions or access lists, so what stands in the bundle's place
    // is a plain item someone put there, not a way to steer the installer elsewhere.
    ItemIdentity identityFrom (const IdentityFacts& facts);

    // The step an NTSTATUS answered: the same status means different things for each.
    enum class NtStep
    {
        open,
        rename, // FileRenameInformation on an item opened with DELETE
        dispose // FileDispositionInformation(Ex) on an item opened with DELETE
    };

    // The code for an NTSTATUS, read before ntdll maps it to a Win32 error (which makes
    // STATUS_DELETE_PENDING and a filter's STATUS_ACCESS_DENIED the same ERROR_ACCESS_DENIED).
    // Busy only for a state that passes: a sharing or lock violation, delete pending, a mapped
    // image, and access denied to the rename of a folder (what a handle open inside it gives).
    // Access denied anywhere else is a refusal (permissions, or a security filter), never waited
    // for. Empty for a status the table leaves to the mapped Win32 error.
    std::optional<FsStatus::Code> codeFromNtStatus (juce::uint32 status, NtStep step, bool isFolder);

    // True when an open refused with this status is tried once more, on the item itself
    // (FILE_OPEN_REPARSE_POINT, without OBJ_DONT_REPARSE), for this call only: a reparse point
    // at the name, a tag no filter here handles (an app execution alias, WSL's, deduplication
    // without its filter), or a Windows that does not know OBJ_DONT_REPARSE.
    bool opensAsItselfAfter (juce::uint32 status);

    constexpr juce::uint32 statusDeletePending = 0xC0000056u;

    // True when the pairs already ask for this "\??\" path to be deleted.
    bool isScheduledForRemoval (const std::vector<std::pair<juce::String, juce::String>>& pairs, const juce::String& ntPath);
}
