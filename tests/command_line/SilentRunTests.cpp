#include "command_line/SilentRunFixture.h"

#include "command_line/CommandLine.h"
#include "install/ExitCode.h"
#include "platform/InstallerLock.h"
#include "settings/DestinationSettings.h"
#include "support/ArchiveFixtures.h"
#include "support/Immutable.h"
#include "support/SmallVolume.h"

using namespace kv::install;
using kv::test::SilentRunFixture;

// Linux keeps 8 bits of a process's exit status; the log keeps the whole code.
static int low8 (int code)
{
    return code & 0xff;
}

TEST_F (SilentRunFixture, InstallsEveryFormatWritesTheKeysAndUninstallsWithTheEntrysQuietString)
{
    ASSERT_EQ (runLogged ({ "/VERYSILENT", "/SUPPRESSMSGBOXES", "/NORESTART", "/SP-" }), exitSuccess) << log();

    for (int i = 0; i < numFormats; ++i)
        EXPECT_TRUE (bundle (i).exists()) << bundle (i).getFullPathName();

    // Every line starts with the time; the header says who ran what; each format says what it did.
    const auto lines = juce::StringArray::fromLines (log().trimEnd());
    for (const auto& line : lines)
        EXPECT_TRUE (line.substring (0, 23).containsOnly ("0123456789-:. ") && line[4] == '-' && line[13] == ':') << line;
    EXPECT_TRUE (log().contains ("Command line: /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /SP-"));
    EXPECT_TRUE (log().contains ("; account ") && log().contains ("elevated"));
    EXPECT_TRUE (log().contains ("VST3: not installed"));
    EXPECT_TRUE (log().contains ("AAX: installing from the archive aax.zip ("));
    EXPECT_TRUE (log().contains ("CLAP: installed \"" + bundle (1).getFullPathName() + "\", 1 file, "));
    EXPECT_TRUE (lines[lines.size() - 1].endsWith ("Result: success. Exit code 0.")) << lines[lines.size() - 1];

    // The detection key from the disk, and the entry pointing at the kept copy.
    auto detection = key (kv::registration::detectionKey());
    EXPECT_EQ (detection["Version"], "2.3.0.0");
    EXPECT_EQ (detection["CLAPInstalled"], "1");
    EXPECT_EQ (detection["AAXPath"], bundle (2).getFullPathName());
    EXPECT_EQ (detection["VST3Version"], "2.3.0.0");

    auto entry = key (kv::registration::uninstallKey());
    EXPECT_EQ (entry["DisplayName"], "Strandline2");
    EXPECT_EQ (entry["Publisher"], "Korvane");
    EXPECT_EQ (entry["DisplayVersion"], "2.3.0.0");
    EXPECT_EQ (entry["NoModify"], "1");
    juce::int64 bytes = 0;
    for (int i = 0; i < numFormats; ++i)
        for (const auto& file : bundle (i).isDirectory() ? bundle (i).findChildFiles (juce::File::findFiles, true) : juce::Array<juce::File> { bundle (i) })
            bytes += file.getSize();
    EXPECT_EQ (entry["EstimatedSize"].getLargeIntValue(), (bytes + 1023) / 1024);
    const auto kept = kv::registration::keptInstaller();
    EXPECT_TRUE (kept.existsAsFile());
    EXPECT_EQ (kept.getSize(), installer().getSize());
    EXPECT_EQ (entry["UninstallString"], "\"" + kept.getFullPathName() + "\" /UNINSTALL");
    EXPECT_TRUE (kept.isAChildOf (sandbox.windowsPath ("C:/Program Files")));

    // A second run of the same version succeeds too.
    EXPECT_EQ (run ({ "/VERYSILENT" }), exitSuccess);

    // An engine runs the quiet uninstall string as it is written.
    auto quiet = kv::command_line::splitArguments (entry["QuietUninstallString"]);
    ASSERT_EQ (quiet[0], kept.getFullPathName());
    quiet.remove (0);
    quiet.add ("/LOG=" + logFile.getFullPathName());
    EXPECT_EQ (run (quiet, kept), exitSuccess) << log();

    for (int i = 0; i < numFormats; ++i)
        EXPECT_FALSE (bundle (i).exists());
    EXPECT_TRUE (key (kv::registration::detectionKey()).empty());
    EXPECT_TRUE (key (kv::registration::uninstallKey()).empty());
    EXPECT_FALSE (kv::registration::keptInstallerFolder().exists());
    EXPECT_TRUE (log().contains ("Unattended uninstall."));
    EXPECT_EQ (loggedExitCode(), 0);
}

TEST_F (SilentRunFixture, AnInvalidParameterEndsTheRunBeforeAnythingIsTouched)
{
    const struct
    {
        juce::StringArray arguments;
        const char* named;
    } rows[] = {
        { { "/VERYSILENT", "/COMPONENTS=vst4" }, "/COMPONENTS=vst4" },
        { { "/VERYSILENT", "/VST3DIR=Plugins\\VST3" }, "/VST3DIR=Plugins\\VST3" },
        { { "/VERYSILENT", "/CLAPDIR=" }, "/CLAPDIR=" },
        { { "/SILENT", "/COMPONENT=vst3" }, "/COMPONENT=vst3" },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.named);
        logFile.deleteFile();
        EXPECT_EQ (runLogged (row.arguments), exitInvalidParameter);
        EXPECT_TRUE (nothingInstalled());
        EXPECT_TRUE (log().contains (juce::String ("Invalid parameter ") + row.named)) << log();
        EXPECT_EQ (loggedExitCode(), exitInvalidParameter);
    }
}

TEST_F (SilentRunFixture, ANewerCopyIsKeptUnlessDowngradeIsAllowed)
{
    // Version 9 of VST3, put there by a later installer.
    kv::test::FixtureArchives newer ("9.0.0.0");
    InstallRequest request;
    request.productName = "Strandline2";
    request.selected = { true, false, false };
    request.destinationFolders = { destination (0), destination (1), destination (2) };
    request.archives = newer.archives();
    ASSERT_TRUE (runInstallPass (request).succeeded());

    EXPECT_EQ (runLogged ({ "/VERYSILENT" }), low8 (exitNewerVersionKept));
    EXPECT_EQ (loggedExitCode(), exitNewerVersionKept);
    EXPECT_TRUE (log().contains ("VST3: the installed version 9.0.0.0 is newer than 2.3.0, so it was kept")) << log();
    EXPECT_EQ (key (kv::registration::detectionKey())["VST3Version"], "9.0.0.0");
    EXPECT_EQ (key (kv::registration::detectionKey())["CLAPVersion"], "2.3.0.0");
    EXPECT_EQ (key (kv::registration::detectionKey())["Version"], "9.0.0.0");

    EXPECT_EQ (runLogged ({ "/VERYSILENT", "/ALLOWDOWNGRADE", "/COMPONENTS=vst3" }), exitSuccess);
    EXPECT_EQ (key (kv::registration::detectionKey())["VST3Version"], "2.3.0.0");
}

TEST_F (SilentRunFixture, AnotherInstallerHoldingTheLockEndsTheRunUntouched)
{
    kv::platform::InstallerLock otherInstaller ("Strandline2", 0);
    ASSERT_TRUE (otherInstaller.isHeld());

    EXPECT_EQ (runLogged ({ "/VERYSILENT" }), low8 (exitAnotherInstallRunning));
    EXPECT_EQ (loggedExitCode(), exitAnotherInstallRunning);
    EXPECT_TRUE (log().contains ("another installer kept working on this product")) << log();
    for (int i = 0; i < numFormats; ++i)
        EXPECT_FALSE (bundle (i).exists());
    EXPECT_TRUE (key (kv::registration::detectionKey()).empty());
}

TEST_F (SilentRunFixture, AFullDiskIsToldApartFromOtherFailures)
{
    kv::test::SmallVolume volume (sandbox.root().getChildFile ("small"), 512);

    if (! volume.mounted)
        GTEST_SKIP() << "mounting a tmpfs needs root";

    EXPECT_EQ (runLogged ({ "/VERYSILENT", "/COMPONENTS=vst3", "/VST3DIR=" + volume.mountPoint.getFullPathName() }), exitDiskFull);
    EXPECT_EQ (loggedExitCode(), exitDiskFull);
    EXPECT_TRUE (log().contains ("ENOSPC")) << log();
    EXPECT_TRUE (log().contains ("drive that holds its install folder is full"));
    EXPECT_EQ (volume.mountPoint.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_TRUE (key (kv::registration::detectionKey()).empty());
}

TEST_F (SilentRunFixture, FoldersAreSavedAsTheSettingsPanelSavesThemAndARefusedSaveTouchesNothing)
{
    sandbox.makerFolder().createDirectory();
    const auto folder = sandbox.root().getChildFile ("chosen/VST3");

    // The file is made as a start would make it, then the folder saved into it.
    EXPECT_EQ (runLogged ({ "/VERYSILENT", "/COMPONENTS=vst3", "/VST3DIR=D:\\Studio\\VST3" }), exitSuccess) << log();
    EXPECT_TRUE (log().contains ("VST3 folder set to \"D:\\Studio\\VST3\" in the settings file."));
    EXPECT_TRUE (sandbox.settingsFile().loadFileAsString().contains ("VST3_Path=\"D:\\Studio\\VST3\""));
    EXPECT_TRUE (bundleFileFor (sandbox.windowsPath ("D:/Studio/VST3"), "Strandline2", 0).exists());

    kv::test::Immutable locked (sandbox.settingsFile());
    ASSERT_TRUE (locked.locked);
    EXPECT_EQ (runLogged ({ "/VERYSILENT", "/CLAPDIR=" + folder.getFullPathName() }), low8 (exitInstallFailure));
    EXPECT_EQ (loggedExitCode(), exitInstallFailure);
    EXPECT_TRUE (log().contains ("could not be saved: the settings file")) << log();
    EXPECT_FALSE (bundle (1).exists());
    EXPECT_FALSE (folder.exists());
}
