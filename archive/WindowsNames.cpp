#include "archive/WindowsNames.h"

namespace kv::archive
{
    namespace
    {
        bool isDeviceName (const juce::String& part)
        {
            // "nul.txt" and "NUL .txt" open the device too: only the name before the first dot
            // counts, without its trailing spaces.
            const auto base = part.upToFirstOccurrenceOf (".", false, false).trimEnd().toUpperCase();

            if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
                return true;

            return base.length() == 4 && (base.startsWith ("COM") || base.startsWith ("LPT")) && base[3] >= '1' && base[3] <= '9';
        }
    }

    ArchiveFinding windowsNameFault (const juce::String& part)
    {
        for (auto c : part)
        {
            if (c < 0x20)
                return ArchiveFinding::of (ArchiveDefect::windowsControlChar);

            if (juce::String ("<>:\"|?*").containsChar (c))
            {
                auto finding = ArchiveFinding::of (ArchiveDefect::windowsForbiddenChar);
                finding.character = c;
                return finding;
            }
        }

        if (isDeviceName (part))
            return ArchiveFinding::naming (ArchiveDefect::deviceName, part);

        if (part.endsWithChar ('.') || part.endsWithChar (' '))
            return ArchiveFinding::naming (ArchiveDefect::trailingDotOrSpace, part);

        return {};
    }

    ArchiveFinding WindowsNameSet::add (const juce::StringArray& parts, bool isDirectory)
    {
        for (const auto& part : parts)
            if (auto why = windowsNameFault (part); why.found())
                return why;

        juce::String path;

        for (int i = 0; i < parts.size(); ++i)
        {
            path << (i == 0 ? "" : "/") << parts[i];
            const auto isLast = i == parts.size() - 1;
            const auto isFile = isLast && ! isDirectory;
            auto [it, isNew] = seen.try_emplace (path.toUpperCase(), Seen { path, isFile, isLast });
            auto& earlier = it->second;

            if (isNew)
                continue;

            if (earlier.spelling != path)
                return ArchiveFinding::naming (ArchiveDefect::differsOnlyInCase, path, earlier.spelling);

            if (earlier.isFile != isFile)
                return ArchiveFinding::naming (ArchiveDefect::fileAndFolder, path);

            if (isLast && earlier.isEntry)
                return ArchiveFinding::of (ArchiveDefect::sameName);

            earlier.isEntry = earlier.isEntry || isLast;
        }

        return {};
    }
}
