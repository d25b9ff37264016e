#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>

namespace kv::fuzz
{
    inline void removeFuzzRoot();

    // A private root for everything a target writes; KV_INSTALLER_ROOT points at it, so the
    // program's drive-letter paths land inside it too.
    inline const juce::File& fuzzRoot()
    {
        static const juce::File root = []
        {
            // Unique per process: the replays of several targets may run side by side.
            auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getChildFile ("kv_fuzz_root_" + juce::Uuid().toString());
            folder.createDirectory();
            ::setenv ("KV_INSTALLER_ROOT", folder.getFullPathName().toRawUTF8(), 1);
            return folder;
        }();

        // Gone when the run ends normally; a crashed run leaves it for a look. Registered
        // once the folder's name is complete, so the handler runs before it is destroyed.
        static const bool removedAtExit = std::atexit (removeFuzzRoot) == 0;
        juce::ignoreUnused (removedAtExit);

        return root;
    }

    inline void removeFuzzRoot() { fuzzRoot().deleteRecursively(); }

    // Fonts and layout need JUCE's GUI side, once per process. It is shut down by an exit
    // handler registered after the first use, so it goes before JUCE's leak counters do.
    inline juce::ScopedJuceInitialiser_GUI*& juceInstance()
    {
        static juce::ScopedJuceInitialiser_GUI* instance = nullptr;
        return instance;
    }

    inline void initialiseJuce()
    {
        if (juceInstance() == nullptr)
            juceInstance() = new juce::ScopedJuceInitialiser_GUI();
    }

    inline void shutdownJuce()
    {
        delete juceInstance();
        juceInstance() = nullptr;
    }

    // A property every input must keep: a violation is a crash that libFuzzer records.
    inline void require (bool condition)
    {
        if (! condition)
            std::abort();
    }
}
