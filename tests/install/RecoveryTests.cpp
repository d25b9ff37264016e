// What an earlier pass left, put right at the next start; two installers at once.
#include "install/InstallPassFixture.h"
#include "messages/Messages.h"

using namespace kv::fs;
using namespace kv::install;

using namespace kv::test;

TEST_F (InstallPass, APreviousCopyThatCannotBePutBackIsReportedWhereItIsAndRestoredAtTheNextStart)
{
    installOldCopy (0);
    const auto before = snapshotTree (bundle (0));

    // Nothing may be moved onto the bundle path: neither the new copy nor the old one back.
    struct NothingOntoTheBundle final : public FileOperations
    {
        NothingOntoTheBundle() { holdRetryMs = 0; }
        juce::File bundle;
        FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName) override
        {
            return to.pathOf (toName) == bundle ? FsStatus (FsStatus::busy) : FileOperations::rename (from, name, to, toName);
        }
    } files;
    files.bundle = bundle (0);

    const auto report = runInstallPass (request ({ true, false, false }), files);

    const auto& outcome = report.outcomes[0];
    EXPECT_FALSE (report.succeeded());
    ASSERT_TRUE (outcome.previousCopyAt.getFileName().startsWith ("Strandline2.vst3.kv-old"));
    EXPECT_TRUE (kv::messages::failureDetails (report).contains ("could not be put back; it is now at " + outcome.previousCopyAt.getFullPathName()));
    EXPECT_FALSE (kv::messages::failureDetails (report).contains ("kept as it was"));
    EXPECT_EQ (snapshotTree (outcome.previousCopyAt), before);

    const auto recovered = recoverAtStart ("Strandline2", { destination (0), destination (1), destination (2) });
    EXPECT_EQ (recovered.restored, 1);
    EXPECT_EQ (snapshotTree (bundle (0)), before);
    expectOnlyTheBundleIn (0);
}

TEST_F (InstallPass, WhileAnotherInstallerWorksNothingIsTouched)
{
    installOldCopy (0);
    kv::test::writeText (destination (0).getChildFile ("Strandline2.vst3.kv-staging/Strandline2.vst3/x"), "half unpacked");
    const auto before = snapshotTree (sandbox.root());

    {
        kv::platform::InstallerLock otherInstaller ("Strandline2", 0);
        ASSERT_TRUE (otherInstaller.isHeld());

        auto r = request ({ true, true, true });
        r.lockWaitMs = 0;
        const auto report = runInstallPass (r);

        EXPECT_TRUE (report.anotherInstallerRunning);
        EXPECT_FALSE (report.succeeded());
        EXPECT_TRUE (kv::messages::failureDetails (report).startsWith ("Another installer is running."));
        const auto recovered = recoverAtStart ("Strandline2", r.destinationFolders, FileOperations::real(), 50);
        EXPECT_EQ (recovered.removed, 0);
        EXPECT_TRUE (recovered.leftForNextStart);
        EXPECT_EQ (snapshotTree (sandbox.root()), before);
    }

    EXPECT_EQ (recoverAtStart ("Strandline2", { destination (0), destination (1), destination (2) }).removed, 1);
    expectOnlyTheBundleIn (0);
}

TEST_F (InstallPass, RecoveryTouchesOnlyNamesOfItsOwnMaking)
{
    installOldCopy (0);
    const auto old = snapshotTree (bundle (0));
    bundle (0).moveFileTo (destination (0).getChildFile ("Strandline2.vst3.kv-old")); // died between its renames
    kv::test::writeText (destination (0).getChildFile ("Strandline2.vst3.kv-removing3/Contents/a.vst3"), "garbage");
    kv::test::writeText (destination (0).getChildFile ("Strandline2.vst3.kv-staging/Strandline2.vst3/m"), "half");

    const juce::StringArray foreign { "Strandline2.vst3.kv-oldish", "Other.vst3.kv-old", "Strandline2.vst3.bak", "strandline2.vst3.kv-old" };
    for (const auto& name : foreign)
        kv::test::writeText (destination (0).getChildFile (name), "not ours");

    const auto result = recoverBundle (bundle (0));

    EXPECT_EQ (result.restored, 1);
    EXPECT_EQ (result.removed, 2);
    EXPECT_EQ (snapshotTree (bundle (0)), old);
    for (const auto& name : foreign)
        EXPECT_EQ (destination (0).getChildFile (name).loadFileAsString(), "not ours") << name;
    EXPECT_EQ (destination (0).getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1 + foreign.size());
}

TEST_F (InstallPass, RecoveryPutsBackTheLatestOldCopyAndNeverDeletesTheOnlyOne)
{
    const auto old = [this] (const juce::String& suffix)
    { return destination (0).getChildFile ("Strandline2.vst3.kv-old" + suffix); };

    // Several copies moved aside: the one the last pass made carries the highest number, and
    // its loadable names come back with it.
    kv::test::writeText (old ("2").getChildFile ("Contents/x86_64-win/Strandline2.vst3.kv-inert"), "moved aside earlier");
    kv::test::writeText (old ("10").getChildFile ("Contents/x86_64-win/Strandline2.vst3.kv-inert"), "moved aside last");

    auto result = recoverBundle (bundle (0));
    EXPECT_EQ (result.restored, 1);
    EXPECT_EQ (bundle (0).getChildFile ("Contents/x86_64-win/Strandline2.vst3").loadFileAsString(), "moved aside last");
    EXPECT_TRUE (result.oldCopiesKept.isEmpty());
    expectOnlyTheBundleIn (0);

    // A copy that cannot be put back (Windows refuses to rename a folder with a file open
    // inside) stays exactly as it is, and every pass says where it is.
    bundle (0).moveFileTo (old ({}));
    const auto before = snapshotTree (old ({}));
    FailingMove files;
    files.refuse = old ({});

    result = recoverBundle (bundle (0), files);
    EXPECT_EQ (result.restored, 0);
    EXPECT_EQ (result.oldCopiesKept, juce::Array<juce::File> { old ({}) });
    EXPECT_EQ (snapshotTree (old ({})), before);

    const auto report = runInstallPass (request ({ true, false, false }, true), files);
    EXPECT_TRUE (kv::messages::successNote (report).contains ("kept at " + old ({}).getFullPathName())) << kv::messages::successNote (report);
    EXPECT_EQ (snapshotTree (old ({})), before);

    // With a whole bundle in place it may go at last.
    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    expectOnlyTheBundleIn (0);
}
