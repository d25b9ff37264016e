// Installing and uninstalling: what lands where, what is touched, and the failures a user can fix.
#include "install/InstallPassFixture.h"
#include "messages/Messages.h"
#include "support/SmallVolume.h"

using namespace kv::fs;
using namespace kv::install;

using namespace kv::test;

TEST_F (InstallPass, InstallsEveryFormatWithTheArchiveLayout)
{
    const auto report = runInstallPass (request ({ true, true, true }));

    ASSERT_EQ (report.outcomes.size(), 3u);
    EXPECT_TRUE (report.succeeded());
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ (report.outcomes[(size_t) i].formatIndex, i);
        expectOnlyTheBundleIn (i);
    }

    EXPECT_EQ (relativeItems (bundle (0)).joinIntoString ("|"),
               "./|./Contents/|./Contents/Resources/|./Contents/Resources/moduleinfo.json|./Contents/x86_64-win/"
               "|./Contents/x86_64-win/Strandline2.vst3|./Plugin.ico|./desktop.ini");
    EXPECT_TRUE (bundle (1).existsAsFile());
    EXPECT_EQ (relativeItems (bundle (2)).joinIntoString ("|"),
               "./|./Contents/|./Contents/x64/|./Contents/x64/Strandline2.aaxplugin|./Plugin.ico|./desktop.ini");
    EXPECT_EQ (bundle (0).getChildFile ("desktop.ini").loadFileAsString(),
               "[.ShellClassInfo]\r\nIconResource=Plugin.ico,0\r\nIconFile=Plugin.ico\r\nIconIndex=0\r\n");
}

TEST_F (InstallPass, InstalledFilesCarryTheTimesOfTheirEntries)
{
    ASSERT_TRUE (runInstallPass (request ({ true, true, false })).succeeded());

    juce::ZipFile zip (new juce::MemoryInputStream (fixtures.bytes[0].data(), fixtures.bytes[0].size(), false), true);
    const auto* entry = zip.getEntry ("Strandline2.vst3\\Contents\\x86_64-win\\Strandline2.vst3");
    ASSERT_NE (entry, nullptr);
    ASSERT_LT (entry->fileTime, juce::Time::getCurrentTime() - juce::RelativeTime::days (30)) << "the fixture's time must be old";

    for (const auto& file : { bundle (0).getChildFile ("Contents/x86_64-win/Strandline2.vst3"), bundle (1) })
    {
        EXPECT_EQ (file.getLastModificationTime().toMilliseconds() / 1000, entry->fileTime.toMilliseconds() / 1000) << file.getFullPathName();
        EXPECT_EQ (file.getLastAccessTime().toMilliseconds() / 1000, entry->fileTime.toMilliseconds() / 1000);
    }
}

TEST_F (InstallPass, OnlySelectedFormatsAreTouched)
{
    installOldCopy (0);
    const auto before = snapshotTree (destination (0));
    const auto report = runInstallPass (request ({ false, true, false }));

    ASSERT_EQ (report.outcomes.size(), 1u);
    EXPECT_EQ (report.outcomes[0].formatIndex, 1);
    EXPECT_EQ (snapshotTree (destination (0)), before);
    EXPECT_FALSE (destination (2).exists());
}

TEST_F (InstallPass, OldFilesGoAndAFolderInPlaceOfTheClapFileIsReplaced)
{
    installOldCopy (0);
    bundle (1).getChildFile ("inside.txt").create();
    destination (1).getChildFile ("Other.clap").create();

    EXPECT_TRUE (runInstallPass (request ({ true, true, false })).succeeded());

    EXPECT_FALSE (bundle (0).getChildFile ("Contents/Resources/old-preset.txt").exists());
    EXPECT_TRUE (bundle (0).getChildFile ("Contents/Resources/moduleinfo.json").existsAsFile());
    EXPECT_TRUE (bundle (1).existsAsFile());
    EXPECT_TRUE (destination (1).getChildFile ("Other.clap").exists()) << "other files in the folder stay";
}

TEST_F (InstallPass, MissingDestinationIsCreatedWithItsParents)
{
    auto r = request ({ false, false, true });
    r.destinationFolders[2] = sandbox.root().getChildFile ("a/b/c/Plug-Ins");

    EXPECT_TRUE (runInstallPass (r).succeeded());
    EXPECT_TRUE (sandbox.root().getChildFile ("a/b/c/Plug-Ins/Strandline2.aaxplugin/Contents/x64/Strandline2.aaxplugin").existsAsFile());
}

TEST_F (InstallPass, UninstallRemovesOnlyTheBundles)
{
    runInstallPass (request ({ true, true, true }));
    destination (0).getChildFile ("Another.vst3").createDirectory();

    const auto report = runInstallPass (request ({ true, true, false }, true));

    EXPECT_TRUE (report.succeeded());
    EXPECT_FALSE (bundle (0).exists());
    EXPECT_FALSE (bundle (1).exists());
    EXPECT_TRUE (bundle (2).exists());
    EXPECT_TRUE (destination (1).isDirectory()) << "an emptied destination stays";
    EXPECT_TRUE (destination (0).getChildFile ("Another.vst3").isDirectory());
    EXPECT_EQ (destination (1).getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
}

TEST_F (InstallPass, UninstallOfAMissingBundleSucceedsAndTouchesNothing)
{
    const auto report = runInstallPass (request ({ true, false, false }, true));

    EXPECT_TRUE (report.succeeded());
    EXPECT_FALSE (destination (0).exists());
}

TEST_F (InstallPass, EmptyDestinationIsNeitherInstalledIntoNorDeletedFrom)
{
    for (const bool uninstall : { false, true })
    {
        auto r = request ({ true, false, false }, uninstall);
        r.destinationFolders[0] = juce::File();
        const auto before = snapshotTree (sandbox.root());

        const auto report = runInstallPass (r);

        ASSERT_EQ (report.outcomes.size(), 1u);
        EXPECT_EQ (report.outcomes[0].problem, InstallProblem::noDestination);
        EXPECT_FALSE (report.succeeded());
        EXPECT_EQ (snapshotTree (sandbox.root()), before);
    }
}

TEST_F (InstallPass, DestinationThatCannotBeCreated)
{
    kv::test::writeText (sandbox.root().getChildFile ("blocker"), "a file where a folder must be");
    auto r = request ({ true, false, false });
    r.destinationFolders[0] = sandbox.root().getChildFile ("blocker/VST3");

    const auto report = runInstallPass (r);

    EXPECT_EQ (report.outcomes[0].problem, InstallProblem::destinationNotCreatable);
    EXPECT_EQ (sandbox.root().getChildFile ("blocker").loadFileAsString(), "a file where a folder must be");
    EXPECT_TRUE (kv::messages::failureDetails (report).contains ("VST3 was not installed"));
}

TEST_F (InstallPass, BundleThatCannotBeReplacedIsKept)
{
    installOldCopy (0);
    const auto before = snapshotTree (destination (0));

    FailingMove files;
    files.refuse = bundle (0);
    const auto report = runInstallPass (request ({ true, true, false }), files);

    ASSERT_EQ (report.outcomes.size(), 2u);
    EXPECT_EQ (report.outcomes[0].problem, InstallProblem::bundleInUse);
    EXPECT_TRUE (report.outcomes[1].succeeded()) << "one format failing does not stop the next";
    EXPECT_EQ (snapshotTree (destination (0)), before);
    EXPECT_TRUE (kv::messages::failureDetails (report).contains ("Close any program that uses the plug-in"));
    EXPECT_EQ (kv::messages::headline (report), "INSTALL FAILED");
}

TEST_F (InstallPass, FileThatCannotBeWrittenLeavesTheOldCopy)
{
    installOldCopy (0);
    const auto before = snapshotTree (destination (0));

    FailingWrite files;
    files.refuseName = "Strandline2.vst3";
    const auto report = runInstallPass (request ({ true, false, false }), files);

    EXPECT_EQ (report.outcomes[0].problem, InstallProblem::writeFailed);
    EXPECT_EQ (snapshotTree (destination (0)), before);
}

TEST_F (InstallPass, BundleInUseIsNotUninstalled)
{
    runInstallPass (request ({ true, false, false }));
    const auto before = snapshotTree (destination (0));

    FailingMove files;
    files.refuse = bundle (0);
    const auto report = runInstallPass (request ({ true, false, false }, true), files);

    EXPECT_EQ (report.outcomes[0].problem, InstallProblem::bundleInUse);
    EXPECT_EQ (kv::messages::headline (report), "UNINSTALL FAILED");
    EXPECT_EQ (snapshotTree (destination (0)), before);
}

TEST_F (InstallPass, TheSwapIsCheckedBeforeTheOldCopyGoesAndWhatAFailedPassLeavesIsTold)
{
    // Another item takes the bundle's name the moment the new copy is put there.
    struct Usurped final : public FileOperations
    {
        Usurped() { holdRetryMs = 0; }

        FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName) override
        {
            const auto status = FileOperations::rename (from, name, to, toName);

            if (status == FsStatus::ok && name.endsWith (".kv-inert") && toName == "Strandline2.vst3")
            {
                FileOperations::rename (to, toName, to, "taken away");
                to.createFolder (toName);
            }

            return status;
        }
    };

    installOldCopy (0);
    const auto before = snapshotTree (bundle (0));
    Usurped usurped;
    const auto report = runInstallPass (request ({ true, false, false }), usurped);

    ASSERT_EQ (report.outcomes.size(), 1u);
    const auto& outcome = report.outcomes[0];
    EXPECT_EQ (outcome.problem, InstallProblem::replacedByAnother);
    ASSERT_NE (outcome.previousCopyAt, juce::File());
    EXPECT_EQ (snapshotTree (outcome.previousCopyAt).size(), before.size()) << kv::messages::failureDetails (report);

    // The next start keeps it too, and says where: the item in the bundle's place is not the copy
    // the pass put there, and the old copy may be the user's only one.
    const auto recovered = recoverBundle (bundle (0));
    EXPECT_EQ (recovered.oldCopiesBesideAnother, juce::Array<juce::File> { outcome.previousCopyAt });
    EXPECT_EQ (snapshotTree (outcome.previousCopyAt).size(), before.size());
    EXPECT_TRUE (kv::messages::startupNotice (recovered).contains (outcome.previousCopyAt.getFullPathName())) << kv::messages::startupNotice (recovered);

    // An unpack that fails, and a staged file that cannot be removed after it: the failure says so.
    struct StagingKept final : public FileOperations
    {
        StagingKept() { holdRetryMs = 0; }

        std::unique_ptr<HandleOutputStream> createFile (const FolderHandle& parent, const juce::String& name, FsStatus& status) override
        {
            if (parent.path().getFileName() != "x64")
                return FileOperations::createFile (parent, name, status);
            status = FsStatus::failed;
            return nullptr;
        }

        FsStatus remove (const FolderHandle& parent, const juce::String& name) override
        {
            return name.startsWith ("Plugin") ? FsStatus (FsStatus::busy) : FileOperations::remove (parent, name);
        }
    };

    StagingKept kept;
    const auto failed = runInstallPass (request ({ false, false, true }), kept);

    ASSERT_EQ (failed.outcomes.size(), 1u);
    EXPECT_NE (failed.outcomes[0].leftoverAt, juce::File());
    EXPECT_TRUE (kv::messages::failureDetails (failed).contains ("could not all be removed yet")) << kv::messages::failureDetails (failed);
}

// A full disk is said as a full disk, with the system's own error and what to do about it,
// never as a program holding the plug-in; the copy that was there stays as it was.
TEST_F (InstallPass, AFullDiskIsSaidAsSuchWithTheSystemsErrorAndTheOldCopyKept)
{
    const kv::test::SmallVolume volume (destination (0), 512);
    ASSERT_TRUE (volume.mounted) << "mounting a small tmpfs needs root";
    installOldCopy (0);
    volume.fill();
    const auto before = snapshotTree (destination (0));

    const auto report = runInstallPass (request ({ true, false, false }));

    ASSERT_EQ (report.outcomes.size(), 1u);
    const auto& outcome = report.outcomes[0];
    EXPECT_EQ (outcome.problem, InstallProblem::diskFull);
    EXPECT_EQ (outcome.systemError, kv::fs::SystemError::posix (ENOSPC));
    EXPECT_EQ (snapshotTree (destination (0)), before) << "the old copy and nothing else";

    const auto words = kv::messages::failureDetails (report);
    EXPECT_TRUE (words.contains ("VST3 was not installed: the drive that holds its install folder is full")) << words;
    EXPECT_TRUE (words.contains ("ENOSPC")) << words;
    EXPECT_TRUE (words.contains ("Free some space on the drive")) << words;
    EXPECT_FALSE (words.contains ("Close any program")) << words;
}

namespace
{
    // Another program removes the folder the pass is unpacking into, as it writes there.
    struct FolderRemovedMidway final : public kv::fs::FileOperations
    {
        juce::File removeBeforeFirstFile;

        std::unique_ptr<kv::fs::HandleOutputStream> createFile (const kv::fs::FolderHandle& parent, const juce::String& name,
                                                                kv::fs::FsStatus& status) override
        {
            if (removeBeforeFirstFile.exists())
                std::filesystem::remove_all (removeBeforeFirstFile.getFullPathName().toStdString());
            return kv::fs::FileOperations::createFile (parent, name, status);
        }
    };
}

// A folder removed under the pass is said as gone, with what the system answered, and no
// program is blamed.
TEST_F (InstallPass, AFolderRemovedWhileThePassWritesIsSaidAsGone)
{
    FolderRemovedMidway files;
    files.removeBeforeFirstFile = destination (0);

    const auto report = runInstallPass (request ({ true, false, false }), files);

    ASSERT_EQ (report.outcomes.size(), 1u);
    EXPECT_EQ (report.outcomes[0].problem, InstallProblem::folderGone);
    EXPECT_EQ (report.outcomes[0].systemError, kv::fs::SystemError::posix (ENOENT));
    const auto words = kv::messages::failureDetails (report);
    EXPECT_TRUE (words.contains ("was removed or moved while the installer worked") && words.contains ("ENOENT")) << words;
    EXPECT_FALSE (words.contains ("Close any program")) << words;
}
