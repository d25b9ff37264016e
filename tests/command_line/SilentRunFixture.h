#pragma once

#include <gtest/gtest.h>

#include "identity/BundleLocation.h"
#include "platform/Registry.h"
#include "registration/Registration.h"
#include "support/Sandbox.h"

#include <map>

namespace kv::test
{
    // The real installer, started as a deployment tool starts it, on a sandbox root.
    struct SilentRunFixture : public ::testing::Test
    {
        Sandbox sandbox;
        juce::File logFile { sandbox.root().getChildFile ("logs/install.log") };

        static juce::File installer() { return juce::File (KV_TEST_BINARY_DIR).getChildFile ("kv_installer"); }

        // The exit status as Linux keeps it: the low 8 bits. The log's last line has all of it.
        int run (const juce::StringArray& arguments, const juce::File& program = installer())
        {
            juce::StringArray command { program.getFullPathName() };
            command.addArray (arguments);
            juce::ChildProcess process;

            if (! process.start (command, 0))
                return -1;

            process.waitForProcessToFinish (180000);
            return (int) process.getExitCode();
        }

        int runLogged (juce::StringArray arguments)
        {
            arguments.add ("/LOG=" + logFile.getFullPathName());
            return run (arguments);
        }

        juce::String log() const { return logFile.loadFileAsString(); }

        // The full exit code the last run wrote at the end of its log.
        int loggedExitCode() const
        {
            const auto lines = juce::StringArray::fromLines (log().trimEnd());
            return lines[lines.size() - 1].fromLastOccurrenceOf ("Exit code ", false, false).getIntValue();
        }

        juce::File destination (int formatIndex) const { return sandbox.windowsPath (formatTable[formatIndex].defaultFolder); }
        juce::File bundle (int formatIndex) const { return bundleFileFor (destination (formatIndex), "Strandline2", formatIndex); }

        static std::map<juce::String, juce::String> key (const juce::String& subKey)
        {
            std::map<juce::String, juce::String> values;
            if (const auto read = kv::platform::registry::readKey (subKey))
                for (const auto& value : *read)
                    values[value.name] = value.isNumber ? juce::String (value.number) : value.text;
            return values;
        }

        bool nothingInstalled() const
        {
            return ! sandbox.root().getChildFile ("C/Program Files").exists();
        }
    };
}
