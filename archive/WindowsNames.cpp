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

    juce::String windowsNameFault (const juce::String& part)
    {
        for (auto c : part)
        {
            if (c < 0x20)
                return "its name holds a control character, which Windows does not allow in file names";

            if (juce::String ("<>:\"|?*").containsChar (c))
                return "its name holds \"" + juce::String::charToString (c) + "\", which Windows does not allow in file names";
        }

        if (isDeviceName (part))
            return "\"" + part + "\" in its path is a name Windows keeps for a device";

        if (part.endsWithChar ('.') || part.endsWithChar (' '))
            return "\"" + part + "\" in its path ends in a dot or a space, which Windows drops";

        return {};
    }

    juce::String WindowsNameSet::add (const juce::StringArray& parts, bool isDirectory)
    {
        for (const auto& part : parts)
            if (const auto why = windowsNameFault (part); why.isNotEmpty())
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
                return "\"" + path + "\" differs only in case from \"" + earlier.spelling + "\", which Windows takes for the same name";

            if (earlier.isFile != isFile)
                return "\"" + path + "\" is both a file and a folder";

            if (isLast && earlier.isEntry)
                return "another entry has the same name";

            earlier.isEntry = earlier.isEntry || isLast;
        }

        return {};
    }
}
