#include "archive/ArchivePlan.h"

#include "archive/WindowsNames.h"

namespace kv::archive
{
    namespace
    {
        bool hasUnsafeCharacters (const juce::String& name)
        {
            for (auto c : name)
                if (c < 0x20 || c == ':' || c == 0x7f)
                    return true;

            return false;
        }
    }

    ArchivePlan planArchive (const std::vector<ZipRecord>& records, const juce::String& bundleName)
    {
        ArchivePlan plan;

        auto refuse = [&plan] (ArchiveVerdict verdict, const juce::String& name, const juce::String& reason)
        {
            plan.verdict = verdict;
            plan.offendingEntry = name;
            plan.reason = reason;
            plan.entries.clear();
            return plan;
        };

        if (records.empty())
            return refuse (ArchiveVerdict::damaged, {}, "it holds no entries");

        WindowsNameSet windowsNames;

        for (size_t i = 0; i < records.size(); ++i)
        {
            const auto& record = records[i];

            if (record.method != 0 && record.method != 8)
                return refuse (ArchiveVerdict::damaged, record.name,
                               "compression method " + juce::String (record.method) + " is neither stored nor deflated");

            if (! record.sizesAreConsistent())
                return refuse (ArchiveVerdict::damaged, record.name, "its recorded size is not one its data can unpack to");

            if (record.isSymbolicLink())
                return refuse (ArchiveVerdict::unsafe, record.name, "it is a symbolic link");

            auto path = record.name.replaceCharacter ('\\', '/');
            const auto isDirectory = path.endsWithChar ('/');

            if (path.isEmpty() || path.startsWithChar ('/') || hasUnsafeCharacters (path))
                return refuse (ArchiveVerdict::unsafe, record.name, "its name is absolute, names a drive or holds control characters");

            const auto parts = juce::StringArray::fromTokens (isDirectory ? path.dropLastCharacters (1) : path, "/", {});

            for (const auto& part : parts)
                if (part.isEmpty() || part == "." || part == "..")
                    return refuse (ArchiveVerdict::unsafe, record.name, "its path has an empty, \".\" or \"..\" part");

            // Everything must land in the bundle itself, never beside it.
            if (parts.isEmpty() || parts[0] != bundleName)
                return refuse (ArchiveVerdict::unsafe, record.name, "it is not inside " + bundleName + ", the archive's one top item");

            // Unsafe rather than damaged: Windows would write such an entry somewhere other than
            // the file it names (a device, or a file another entry writes), as a "..\" would.
            if (const auto why = windowsNames.add (parts, isDirectory); why.isNotEmpty())
                return refuse (ArchiveVerdict::unsafe, record.name, why);

            plan.entries.push_back ({ (int) i, parts.joinIntoString ("/"), isDirectory });
        }

        return plan;
    }
}
