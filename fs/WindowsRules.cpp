#include "fs/WindowsRules.h"

namespace kv::fs::windows_rules
{
    bool othersMayChange (bool ownerTrusted, bool hasAccessList, const std::vector<AccessEntry>& entries, PartOfPath part)
    {
        if (! ownerTrusted || ! hasAccessList)
            return true;

        const auto rights = part == PartOfPath::aboveTheDestination ? replacingRights : changingRights;

        for (const auto& entry : entries)
        {
            if (entry.inheritOnly || entry.type == AccessEntry::Type::denied)
                continue;

            // An entry this rule does not read: assume the worst.
            if (entry.type == AccessEntry::Type::other)
                return true;

            if ((entry.mask & rights) != 0 && ! entry.trustedSid)
                return true;
        }

        return false;
    }

    std::vector<std::pair<juce::String, juce::String>> readPendingRenames (const char16_t* units, size_t count)
    {
        // The strings in order, empty ones included; a value ends with one more NUL, and may not.
        std::vector<juce::String> strings;

        for (size_t start = 0; start < count;)
        {
            size_t end = start;
            while (end < count && units[end] != 0)
                ++end;

            strings.emplace_back (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (units + start)),
                                  juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (units + end)));
            start = end + 1;
        }

        while (! strings.empty() && strings.back().isEmpty() && strings.size() % 2 != 0)
            strings.pop_back();

        std::vector<std::pair<juce::String, juce::String>> pairs;

        for (size_t i = 0; i + 1 < strings.size(); i += 2)
            pairs.emplace_back (strings[i], strings[i + 1]);

        return pairs;
    }

    bool isScheduledForRemoval (const std::vector<std::pair<juce::String, juce::String>>& pairs, const juce::String& ntPath)
    {
        for (const auto& [source, target] : pairs)
            if (target.isEmpty() && source.equalsIgnoreCase (ntPath))
                return true;

        return false;
    }

    bool isFatFamily (const juce::String& fileSystem)
    {
        return fileSystem.equalsIgnoreCase ("FAT") || fileSystem.equalsIgnoreCase ("FAT12") || fileSystem.equalsIgnoreCase ("FAT16")
               || fileSystem.equalsIgnoreCase ("FAT32") || fileSystem.equalsIgnoreCase ("exFAT");
    }

    ItemIdentity identityFrom (const IdentityFacts& facts)
    {
        // Marks an identity made from the entry, never equal to a file ID of the same numbers.
        constexpr juce::uint64 fromEntry = 0xFA7E000000000000ull;

        if (isFatFamily (facts.fileSystem))
            return { facts.volumeSerial32, facts.creationTime, fromEntry | (facts.isFolder ? 1u : 0u) };

        if (facts.hasFileIdInfo)
        {
            juce::uint64 low = 0, high = 0;
            for (int i = 7; i >= 0; --i)
            {
                low = (low << 8) | facts.fileId128[(size_t) i];
                high = (high << 8) | facts.fileId128[(size_t) i + 8];
            }
            return { facts.volumeSerial64, low, high };
        }

        return { facts.volumeSerial32, facts.fileIndex, 0 };
    }

    std::optional<FsStatus::Code> codeFromNtStatus (juce::uint32 status, NtStep step, bool isFolder)
    {
        switch (status)
        {
            case 0x00000000u: return FsStatus::ok;
            case 0xC000000Fu: // STATUS_NO_SUCH_FILE
            case 0xC0000034u: // STATUS_OBJECT_NAME_NOT_FOUND
            case 0xC000003Au: return FsStatus::notFound; // STATUS_OBJECT_PATH_NOT_FOUND
            case 0xC0000035u: return FsStatus::exists; // STATUS_OBJECT_NAME_COLLISION
            case statusDeletePending:
            case 0xC0000043u: // STATUS_SHARING_VIOLATION
            case 0xC0000054u: // STATUS_FILE_LOCK_CONFLICT
            case 0xC0000055u: // STATUS_LOCK_NOT_GRANTED
            case 0xC0000243u:
                return FsStatus::busy; // STATUS_USER_MAPPED_FILE
            // A loaded module: its read-only mark is never the cause, as a delete ignores or
            // clears it first and reports a failure to clear it as refused.
            case 0xC0000121u: return step == NtStep::open ? FsStatus::denied : FsStatus::busy; // STATUS_CANNOT_DELETE
            case 0xC0000022u: return step == NtStep::rename && isFolder ? FsStatus::busy : FsStatus::denied; // STATUS_ACCESS_DENIED
            case 0xC00000A2u: return FsStatus::denied; // STATUS_MEDIA_WRITE_PROTECTED
            case 0xC0000101u: return FsStatus::notEmpty; // STATUS_DIRECTORY_NOT_EMPTY
            case 0xC000007Fu: // STATUS_DISK_FULL
            case 0xC0000044u: return FsStatus::noSpace; // STATUS_QUOTA_EXCEEDED
            case 0xC000000Eu: // STATUS_NO_SUCH_DEVICE
            case 0xC0000013u: // STATUS_NO_MEDIA_IN_DEVICE
            case 0xC00000A3u: // STATUS_DEVICE_NOT_READY
            case 0xC00000C0u: return FsStatus::notReady; // STATUS_DEVICE_DOES_NOT_EXIST
            case 0xC0000103u: // STATUS_NOT_A_DIRECTORY
            case 0xC00000BAu: return FsStatus::notAFolder; // STATUS_FILE_IS_A_DIRECTORY
            default: return std::nullopt;
        }
    }

    bool opensAsItselfAfter (juce::uint32 status)
    {
        return status == 0xC000050Bu // STATUS_REPARSE_POINT_ENCOUNTERED
               || status == 0xC0000279u // STATUS_IO_REPARSE_TAG_NOT_HANDLED
               || status == 0xC000000Du; // STATUS_INVALID_PARAMETER: no OBJ_DONT_REPARSE here
    }
}
