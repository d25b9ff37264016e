#include "fs/WindowsRules.h"

namespace kv::fs::windows_rules
{
    bool othersMayChange (bool ownerTrusted, bool hasAccessList, const std::vector<AccessEntry>& entries)
    {
        if (! ownerTrusted || ! hasAccessList)
            return true;

        for (const auto& entry : entries)
        {
            if (entry.inheritOnly || entry.type == AccessEntry::Type::denied)
                continue;

            // An entry this rule does not read: assume the worst.
            if (entry.type == AccessEntry::Type::other)
                return true;

            if ((entry.mask & changingRights) != 0 && ! entry.trustedSid)
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
}
