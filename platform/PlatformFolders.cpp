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

#if JUCE_WINDOWS
    juce::File fileFromPath (const juce::String& path)
    {
        const auto native = windowsAbsolutePath (path);

        if (native.isEmpty())
            return {};

        return juce::File (native);
    }

    juce::File commonApplicationDataFolder()
    {
        return juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory);
    }

    juce::File sandboxRoot()
    {
        return {};
    }
#else
    juce::File sandboxRoot()
    {
        const auto fromEnvironment = juce::SystemStats::getEnvironmentVariable ("KV_INSTALLER_ROOT", {});

        if (fromEnvironment.isNotEmpty() && juce::File::isAbsolutePath (fromEnvironment))
            return juce::File (fromEnvironment);

        return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
            .getChildFile ("kv_installer-sandbox");
    }

    juce::File fileFromPath (const juce::String& path)
    {
        if (isDriveLetterPath (path))
        {
            // ".." never climbs above the drive, as on Windows, so no path leaves the sandbox.
            juce::StringArray parts;
            for (const auto& part : juce::StringArray::fromTokens (path.substring (2).replaceCharacter ('\\', '/'), "/", {}))
            {
                if (part == "..")
                    parts.removeRange (parts.size() - 1, 1);
                else if (part.isNotEmpty() && part != ".")
                    parts.add (part);
            }

            auto folder = sandboxRoot().getChildFile (path.substring (0, 1).toUpperCase());

            for (const auto& part : parts)
                folder = juce::File (folder.getFullPathName() + "/" + part);

            return folder;
        }

        if (path.startsWithChar ('/'))
            return juce::File (path);

        return {};
    }

    juce::File commonApplicationDataFolder()
    {
        return fileFromPath ("C:/ProgramData");
    }
#endif
}
