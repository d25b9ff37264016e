#include "install/detail/PlacedRecord.h"

namespace kv::install::placed
{
    using fs::FsStatus;
    using fs::ItemIdentity;

    namespace
    {
        juce::String stemFor (const juce::String& bundleName) { return bundleName + ".kv-placed."; }

        bool parseHex (const juce::String& text, juce::uint64& value)
        {
            if (text.isEmpty() || text.length() > 16 || ! text.containsOnly ("0123456789abcdef"))
                return false;

            value = (juce::uint64) text.getHexValue64();
            return true;
        }

        juce::StringArray recordsIn (const fs::FolderHandle& folder, const juce::String& bundleName)
        {
            juce::StringArray names, records;
            folder.list (names);
            ItemIdentity identity;

            for (const auto& name : names)
                if (parse (name, bundleName, identity))
                    records.add (name);

            return records;
        }
    }

    juce::String recordName (const juce::String& bundleName, const ItemIdentity& identity)
    {
        return stemFor (bundleName) + juce::String::toHexString ((juce::int64) identity.volume) + "."
               + juce::String::toHexString ((juce::int64) identity.file) + "." + juce::String::toHexString ((juce::int64) identity.fileHigh);
    }

    bool parse (const juce::String& name, const juce::String& bundleName, ItemIdentity& identity)
    {
        if (! name.startsWith (stemFor (bundleName)))
            return false;

        juce::StringArray parts;
        parts.addTokens (name.substring (stemFor (bundleName).length()), ".", {});

        return parts.size() == 3 && parseHex (parts[0], identity.volume) && parseHex (parts[1], identity.file)
               && parseHex (parts[2], identity.fileHigh);
    }

    FsStatus write (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName, const ItemIdentity& identity)
    {
        FsStatus status;
        const auto name = recordName (bundleName, identity);

        if (auto record = files.createFile (folder, name, status))
            return record->close() ? FsStatus (FsStatus::ok) : record->failure();

        return status == FsStatus::exists ? FsStatus (FsStatus::ok) : status;
    }

    bool standsAsPlaced (const fs::FolderHandle& folder, const juce::String& bundleName)
    {
        ItemIdentity standing;

        if (folder.identityOf (bundleName, standing) != FsStatus::ok)
            return false;

        for (const auto& name : recordsIn (folder, bundleName))
        {
            ItemIdentity recorded;
            if (parse (name, bundleName, recorded) && recorded == standing)
                return true;
        }

        return false;
    }

    void removeAll (fs::FileOperations& files, const fs::FolderHandle& folder, const juce::String& bundleName)
    {
        for (const auto& name : recordsIn (folder, bundleName))
            files.removeRetrying (folder, name);
    }
}
