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

        auto refuse = [&plan] (ArchiveVerdict verdict, const juce::String& name, const ArchiveFinding& finding)
        {
            plan.verdict = verdict;
            plan.offendingEntry = name;
            plan.finding = finding;
            plan.entries.clear();
            return plan;
        };

        if (records.empty())
            return refuse (ArchiveVerdict::damaged, {}, ArchiveFinding::of (ArchiveDefect::noEntries));

        WindowsNameSet windowsNames;

        for (size_t i = 0; i < records.size(); ++i)
        {
            const auto& record = records[i];

            if (record.method != 0 && record.method != 8)
                return refuse (ArchiveVerdict::damaged, record.name, ArchiveFinding::of (ArchiveDefect::compressionMethod, record.method));

            if (! record.sizesAreConsistent())
                return refuse (ArchiveVerdict::damaged, record.name, ArchiveFinding::of (ArchiveDefect::sizeImpossible));

            if (record.isSymbolicLink())
                return refuse (ArchiveVerdict::unsafe, record.name, ArchiveFinding::of (ArchiveDefect::symbolicLink));

            auto path = record.name.replaceCharacter ('\\', '/');
            const auto isDirectory = path.endsWithChar ('/');

            if (path.isEmpty() || path.startsWithChar ('/') || hasUnsafeCharacters (path))
                return refuse (ArchiveVerdict::unsafe, record.name, ArchiveFinding::of (ArchiveDefect::absoluteName));

            const auto parts = juce::StringArray::fromTokens (isDirectory ? path.dropLastCharacters (1) : path, "/", {});

            for (const auto& part : parts)
                if (part.isEmpty() || part == "." || part == "..")
                    return refuse (ArchiveVerdict::unsafe, record.name, ArchiveFinding::of (ArchiveDefect::dotDotPart));

            // Everything must land in the bundle itself, never beside it.
            if (parts.isEmpty() || parts[0] != bundleName)
                return refuse (ArchiveVerdict::unsafe, record.name, ArchiveFinding::naming (ArchiveDefect::outsideBundle, {}, bundleName));

            // Unsafe rather than damaged: Windows would write such an entry somewhere other than
            // the file it names (a device, or a file another entry writes), as a "..\" would.
            if (const auto why = windowsNames.add (parts, isDirectory); why.found())
                return refuse (ArchiveVerdict::unsafe, record.name, why);

            plan.entries.push_back ({ (int) i, parts.joinIntoString ("/"), isDirectory });
        }

        return plan;
    }
}
