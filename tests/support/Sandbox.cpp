#include "support/Sandbox.h"

#include <cstdlib>

namespace kv::test
{
    static juce::File processRoot;

    static juce::File makeTempFolder (const juce::String& prefix)
    {
        // Unique across processes too: CTest runs tests side by side, and two processes
        // asking for the same "next free" name at once would share one folder.
        auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getChildFile (prefix + juce::Uuid().toString());
        folder.createDirectory();
        return folder;
    }

    void Sandbox::installProcessRoot()
    {
        processRoot = makeTempFolder ("kv_tests_root_");
        ::setenv ("KV_INSTALLER_ROOT", processRoot.getFullPathName().toRawUTF8(), 1);
    }

    void Sandbox::removeProcessRoot()
    {
        processRoot.deleteRecursively();
    }

    Sandbox::Sandbox()
        : folder (makeTempFolder ("kv_sandbox_"))
    {
        if (const char* old = std::getenv ("KV_INSTALLER_ROOT"))
        {
            previousRoot = old;
            hadPreviousRoot = true;
        }

        ::setenv ("KV_INSTALLER_ROOT", folder.getFullPathName().toRawUTF8(), 1);
    }

    Sandbox::~Sandbox()
    {
        if (hadPreviousRoot)
            ::setenv ("KV_INSTALLER_ROOT", previousRoot.toRawUTF8(), 1);
        else
            ::unsetenv ("KV_INSTALLER_ROOT");

        folder.deleteRecursively();
    }

    juce::File Sandbox::windowsPath (const juce::String& path) const
    {
        auto rest = path.replaceCharacter ('\\', '/');
        const auto drive = rest.substring (0, 1).toUpperCase();
        return folder.getChildFile (drive).getChildFile (rest.substring (3));
    }

    juce::File Sandbox::makerFolder() const { return windowsPath ("C:/ProgramData/Korvane"); }
    juce::File Sandbox::settingsFile() const { return makerFolder().getChildFile ("PluginManagerSettings.txt"); }

    juce::MemoryBlock readBytes (const juce::File& file)
    {
        juce::MemoryBlock block;
        file.loadFileAsData (block);
        return block;
    }

    void writeBytes (const juce::File& file, const void* data, size_t size)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithData (data, size);
    }

    void writeText (const juce::File& file, const juce::String& text)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text, false, false, nullptr);
    }
}
