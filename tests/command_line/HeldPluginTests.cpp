#include "command_line/SilentRunFixture.h"

#include "command_line/SilentRun.h"
#include "fs/StrictRules.h"
#include "install/ExitCode.h"

using namespace kv::install;
using kv::fs::strict::Hold;
using kv::test::SilentRunFixture;

// A host holding the plug-in open, under Windows' rules on open handles, which the suite keeps
// in this process: the unattended run is the same code the installer runs, called here.
TEST_F (SilentRunFixture, APluginHeldByAProgramGivesItsOwnCode)
{
    ASSERT_TRUE (kv::fs::strict::isEnabled());

    const struct
    {
        const char* what;
        Hold::Kind kind;
        const char* commandLine;
        int exitCode;
        bool bundleAfter;
    } rows[] = {
        // Open without delete sharing: it can be neither moved nor removed.
        { "held, install", Hold::Kind::openWithoutDeleteSharing, "/VERYSILENT /COMPONENTS=clap", exitSharingViolation, true },
        { "held, uninstall", Hold::Kind::openWithoutDeleteSharing, "/VERYSILENT /UNINSTALL /COMPONENTS=clap", exitSharingViolation, true },
        // Loaded by a host: moved aside, removed when Windows next starts.
        { "loaded, install", Hold::Kind::loadedModule, "/VERYSILENT /COMPONENTS=clap", exitRestartRequired, true },
        { "loaded, uninstall", Hold::Kind::loadedModule, "/VERYSILENT /UNINSTALL /COMPONENTS=clap", exitRestartRequired, false },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        const auto install = kv::command_line::parse (juce::String ("/VERYSILENT /COMPONENTS=clap"));
        ASSERT_EQ (kv::command_line::runSilently (install, {}), exitSuccess);

        auto options = kv::command_line::parse (juce::String (row.commandLine) + " /LOG=" + logFile.getFullPathName());
        logFile.deleteFile();
        {
            Hold host (bundle (1), row.kind);
            ASSERT_TRUE (host.isHeld());
            EXPECT_EQ (kv::command_line::runSilently (options, row.commandLine), row.exitCode) << log();
        }

        EXPECT_EQ (loggedExitCode(), row.exitCode);
        EXPECT_EQ (bundle (1).existsAsFile(), row.bundleAfter);
        if (row.exitCode == exitSharingViolation)
        {
            EXPECT_TRUE (log().contains ("Error: ") && log().contains (bundle (1).getFileName())) << log();
        }

        // The keys follow the disk, not the request.
        EXPECT_EQ (key (kv::registration::detectionKey())["CLAPInstalled"], row.bundleAfter ? "1" : "");
    }
}
