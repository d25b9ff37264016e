#pragma once

#include <juce_core/juce_core.h>

namespace kv::test
{
    // A temporary folder that stands in for the machine: KV_INSTALLER_ROOT points at it
    // while it exists, so the program's drive-letter paths land inside it.
    class Sandbox final
    {
    public:
        Sandbox();
        ~Sandbox();

        const juce::File& root() const noexcept { return folder; }

        // Where a Windows path such as "C:/Program Files/Common Files/VST3" lands.
        juce::File windowsPath (const juce::String& path) const;

        // The folder that holds the shared settings file, created or not.
        juce::File makerFolder() const;
        juce::File settingsFile() const;

        static void installProcessRoot();
        static void removeProcessRoot();

    private:
        juce::File folder;
        juce::String previousRoot;
        bool hadPreviousRoot = false;

        JUCE_DECLARE_NON_COPYABLE (Sandbox)
    };

    juce::MemoryBlock readBytes (const juce::File& file);
    void writeBytes (const juce::File& file, const void* data, size_t size);
    void writeText (const juce::File& file, const juce::String& text);
}
