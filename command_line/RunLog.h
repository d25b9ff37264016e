#pragma once

#include <juce_core/juce_core.h>

// The log a run writes when /LOG asks for one: each line starts with the local time, as Inno
// Setup's and Windows Installer's do, and is on disk before the next step starts, so a run
// that is killed still leaves what it did.
namespace kv::command_line
{
    class RunLog final
    {
    public:
        // /LOG="path" names the file; /LOG alone makes a new one in the temporary folder,
        // named as Inno Setup names its logs: "<product> Setup Log <yyyy-mm-dd> #<nnn>.txt".
        explicit RunLog (const juce::String& path);

        // No log: every line goes nowhere.
        RunLog() = default;

        bool isOpen() const { return stream != nullptr; }
        const juce::File& file() const { return logFile; }

        void add (const juce::String& line);
        void add (const juce::StringArray& lines);

        static juce::File newFileInTemporaryFolder();

    private:
        juce::File logFile;
        std::unique_ptr<juce::FileOutputStream> stream;

        JUCE_DECLARE_NON_COPYABLE (RunLog)
    };
}
