#include "platform/PlatformFolders.h"

namespace kv::platform
{
    bool isDriveLetterPath (const juce::String& path)
    {
        return path.length() >= 2
               && juce::CharacterFunctions::isLetter (path[0])
               && path[1] == ':'
               && (path.length() == 2 || path[2] == '/' || path[2] == '\\');
    }

    juce::String windowsLongPath (const juce::String& path)
    {
        if (path.startsWith ("\\\\?\\"))
            return path;
        if (path.startsWith ("\\\\"))
            return "\\\\?\\UNC\\" + path.substring (2);

        return "\\\\?\\" + path;
    }

    juce::String windowsAbsolutePath (const juce::String& path)
    {
        const auto native = path.replaceCharacter ('/', '\\');
        return isDriveLetterPath (native) || native.startsWithChar ('\\') ? native : juce::String();
    }
}
