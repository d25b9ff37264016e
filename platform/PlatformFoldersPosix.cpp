#include "platform/PlatformFolders.h"

// Off Windows every drive-letter path lands under the sandbox root, so nothing is ever
// written to the host's system folders.
namespace kv::platform
{
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
}
