#include <gtest/gtest.h>

#include "command_line/CommandLine.h"
#include "identity/Formats.h"
#include "support/Sandbox.h"

using kv::command_line::parse;

namespace
{
    // One command line and what it must mean. Formats as "VCA" (installed letters), "-" for none.
    struct Row
    {
        const char* commandLine;
        bool silent;
        bool uninstall;
        const char* formats;
        bool valid;
        const char* invalidArgument = ""; // the argument a log names, when one is bad
        const char* logPath = nullptr; // when /LOG is given: the path, "" for the temporary folder
        bool allowDowngrade = false;
        const char* vst3Dir = "";
    };

    juce::String formatsOf (const kv::command_line::Options& options)
    {
        juce::String letters;
        for (size_t i = 0; i < options.formats.size(); ++i)
            if (options.formats[i])
                letters << formatNames[(int) i].substring (0, 1);
        return letters.isEmpty() ? juce::String ("-") : letters;
    }
}

TEST (CommandLine, SwitchesAreReadAsInnoSetupSpellsThem)
{
    kv::test::Sandbox sandbox; // drive-letter paths are checked against the sandbox's mapping

    const Row rows[] = {
        // No arguments, and arguments the installer does not know, change nothing without a silent switch.
        { "", false, false, "VCA", true },
        { "/FOO bar.txt", false, false, "VCA", true },
        { "/COMPONENTS=vst4", false, false, "VCA", false, "/COMPONENTS=vst4" },
        // The silent switches, in either case and with either prefix; the accepted no-ops.
        { "/VERYSILENT", true, false, "VCA", true },
        { "-verysilent /SUPPRESSMSGBOXES /SP- /NORESTART", true, false, "VCA", true },
        { "/Silent", true, false, "VCA", true },
        // Formats by name, any order and case; a name not in the format table is refused.
        { "/VERYSILENT /COMPONENTS=\"aax,vst3\"", true, false, "VA", true },
        { "/VERYSILENT /COMPONENTS=CLAP", true, false, "C", true },
        { "/VERYSILENT /COMPONENTS=vst4", true, false, "VCA", false, "/COMPONENTS=vst4" },
        { "/VERYSILENT /COMPONENTS=", true, false, "VCA", false, "/COMPONENTS=" },
        { "/VERYSILENT /COMPONENTS=vst3,,clap", true, false, "VCA", false, "/COMPONENTS=vst3,,clap" },
        // Unknown switches and stray words end a silent run.
        { "/VERYSILENT /FOO", true, false, "VCA", false },
        { "/VERYSILENT /DIR=C:\\x", true, false, "VCA", false },
        { "/VERYSILENT /UNINSTALLX", true, false, "VCA", false },
        // Uninstall and downgrade.
        { "/UNINSTALL", false, true, "VCA", true },
        { "/uninstall /verysilent /components=clap", true, true, "C", true },
        { "/VERYSILENT /ALLOWDOWNGRADE", true, false, "VCA", true, "", nullptr, true },
        // Folders: absolute only, quotes anywhere around the value.
        { "/VERYSILENT /VST3DIR=\"D:\\Plug Ins\\VST3\"", true, false, "VCA", true, "", nullptr, false, "D:\\Plug Ins\\VST3" },
        { "/VERYSILENT \"/VST3DIR=D:\\Plug Ins\\VST3\"", true, false, "VCA", true, "", nullptr, false, "D:\\Plug Ins\\VST3" },
        { "/VERYSILENT /vst3dir=D:/VST3", true, false, "VCA", true, "", nullptr, false, "D:/VST3" },
        { "/VERYSILENT /VST3DIR=", true, false, "VCA", false, "/VST3DIR=" },
        { "/VERYSILENT /VST3DIR=VST3", true, false, "VCA", false, "/VST3DIR=VST3" },
        { "/VERYSILENT /CLAPDIR=..\\CLAP", true, false, "VCA", false, "/CLAPDIR=..\\CLAP" },
        { "/VERYSILENT /VST4DIR=D:\\x", true, false, "VCA", false },
        // The log: in the temporary folder, or where it is named.
        { "/VERYSILENT /LOG", true, false, "VCA", true, "", "" },
        { "/VERYSILENT /LOG=\"C:\\Logs\\kv install.log\"", true, false, "VCA", true, "", "C:\\Logs\\kv install.log" },
        { "/VERYSILENT /LOG=kv.log", true, false, "VCA", false, "/LOG=kv.log", "kv.log" },
        { "/LOG", false, false, "VCA", true, "", "" },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.commandLine);
        const auto options = parse (juce::String (row.commandLine));
        EXPECT_EQ (options.silent, row.silent);
        EXPECT_EQ (options.uninstall, row.uninstall);
        EXPECT_EQ (formatsOf (options), row.formats);
        EXPECT_EQ (options.isValid(), row.valid);
        EXPECT_EQ (options.invalidArgument, juce::String (row.invalidArgument).removeCharacters ("\""));
        EXPECT_EQ (options.log, row.logPath != nullptr);
        if (row.logPath != nullptr)
        {
            EXPECT_EQ (options.logPath, row.logPath);
        }
        EXPECT_EQ (options.allowDowngrade, row.allowDowngrade);
        EXPECT_EQ (options.destinations[0], row.vst3Dir);
    }
}
