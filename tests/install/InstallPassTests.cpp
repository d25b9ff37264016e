#include <gtest/gtest.h>

#include "identity/ProductIdentity.h"
#include "install/InstallPass.h"
#include "install/Recovery.h"
#include "platform/InstallerLock.h"
#include "support/ArchiveFixtures.h"
#include "support/Sandbox.h"
#include "support/TreeSnapshot.h"

#include <filesystem>
#include <zlib.h>
#include <random>
#include <unistd.h>

using kv::test::Sandbox;
using kv::test::snapshotTree;

namespace
{
    struct InstallPass : public ::testing::Test
    {
        Sandbox sandbox;
        kv::test::FixtureArchives fixtures;

        juce::File destination (int i) const { return sandbox.root().getChildFile ("dest" + juce::String (i)); }
        juce::File bundle (int i) const { return destination (i).getChildFile ("Strandline2" + formatExtensions[i]); }

        InstallRequest request (std::array<bool, 3> selected, bool uninstall = false) const
        {
            InstallRequest r;
            r.uninstall = uninstall;
            r.productName = "Strandline2";
            r.selected = selected;
            r.destinationFolders = { destination (0), destination (1), destination (2) };
            r.archives = fixtures.archives();
            return r;
        }

        // An older copy with a file the new archive does not have.
        void installOldCopy (int i)
        {
            const auto old = bundle (i);
            if (i == 1)
                kv::test::writeText (old, "old clap module");
            else
                kv::test::writeText (old.getChildFile ("Contents/Resources/old-preset.txt"), "old preset");
        }

        // Nothing but the bundle (or nothing at all) may be left in a destination.
        void expectOnlyTheBundleIn (int i) const
        {
            for (const auto& item : destination (i).findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
                EXPECT_EQ (item.getFileName(), bundle (i).getFileName());
        }
    };

    juce::StringArray relativeItems (const juce::File& folder)
    {
        juce::StringArray items;
        for (const auto& [path, what] : snapshotTree (folder))
            items.add (path + (what == "folder" ? "/" : ""));
        return items;
    }

    struct FailingMove final : public FileOperations
    {
        juce::File refuse;
        bool move (const juce::File& from, const juce::File& to) override
        {
            return from != refuse && FileOperations::move (from, to);
        }
    };

    struct FailingWrite final : public FileOperations
    {
        juce::String refuseName;
        std::unique_ptr<juce::OutputStream> createOutput (const juce::File& file) override
        {
            return file.getFileName() == refuseName ? nullptr : FileOperations::createOutput (file);
        }
    };
}

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

TEST_F (InstallPass, ADanglingLinkAtTheBundlePathIsTheBundleItself)
{
    destination (0).createDirectory();
    const auto gone = sandbox.root().getChildFile ("gone");

    ASSERT_EQ (::symlink (gone.getFullPathName().toRawUTF8(), bundle (0).getFullPathName().toRawUTF8()), 0);
    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_TRUE (bundle (0).getChildFile ("desktop.ini").existsAsFile());
    expectOnlyTheBundleIn (0);

    ASSERT_TRUE (bundle (0).deleteRecursively());
    ASSERT_EQ (::symlink (gone.getFullPathName().toRawUTF8(), bundle (0).getFullPathName().toRawUTF8()), 0);
    EXPECT_TRUE (runInstallPass (request ({ true, false, false }, true)).succeeded());
    EXPECT_FALSE (bundle (0).isSymbolicLink());
    EXPECT_EQ (destination (0).getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_FALSE (gone.exists());
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

// Failures: each is reported, and the copy that was there stays exactly as it was.

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
    EXPECT_TRUE (report.details().contains ("VST3 was not installed"));
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
    EXPECT_TRUE (report.details().contains ("Close any program that uses the plug-in"));
    EXPECT_EQ (report.headline(), "INSTALL FAILED");
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
    EXPECT_EQ (report.headline(), "UNINSTALL FAILED");
    EXPECT_EQ (snapshotTree (destination (0)), before);
}

TEST_F (InstallPass, DamagedArchivesAreRefusedAndTheOldCopyKept)
{
    using kv::payload::ZipWriter;

    std::vector<std::pair<const char*, kv::payload::Bytes>> cases;
    {
        ZipWriter w;
        w.addFile ("Strandline2.clap", kv::payload::Bytes (5000, 7)).faults.recordedCrc = 0x12345678;
        cases.push_back ({ "wrong CRC", w.toBytes() });
    }
    {
        ZipWriter w;
        w.addFile ("Strandline2.clap", kv::payload::Bytes (5000, 7)).faults.recordedUncompressedSize = 6000;
        cases.push_back ({ "wrong size", w.toBytes() });
    }
    {
        // Size and CRC-32 recorded for the first 4000 bytes: only the end of the data tells.
        ZipWriter w;
        const kv::payload::Bytes data (5000, 7);
        auto& entry = w.addFile ("Strandline2.clap", data);
        entry.faults.recordedUncompressedSize = 4000;
        entry.faults.recordedCrc = (uint32_t) crc32 (0, data.data(), 4000);
        cases.push_back ({ "data inflating past the recorded size", w.toBytes() });
    }
    {
        ZipWriter w;
        // Incompressible data, so that cutting the compressed stream really loses bytes.
        std::mt19937 random (42);
        kv::payload::Bytes noise (20000);
        for (auto& byte : noise)
            byte = (uint8_t) random();
        w.addFile ("Strandline2.clap", noise).faults.truncateDataAt = 3000;
        cases.push_back ({ "truncated data", w.toBytes() });
    }
    {
        auto whole = kv::payload::buildFormatArchive (1, { 4096 });
        whole.resize (whole.size() / 2);
        cases.push_back ({ "truncated archive", whole });
    }
    {
        // Four bytes JUCE decodes as a NUL inside the name.
        auto w = kv::payload::makeFormatArchive (1, { 4096 });
        w.addTextFile ("Strandline2.clap\xf0\x80\x80\x80.txt", "x");
        cases.push_back ({ "malformed UTF-8 in a name", w.toBytes() });
    }
    cases.push_back ({ "not a zip", kv::payload::Bytes (300, 'x') });
    cases.push_back ({ "empty", {} });

    installOldCopy (1);
    const auto before = snapshotTree (destination (1));

    for (const auto& [what, bytes] : cases)
    {
        auto r = request ({ false, true, false });
        r.archives[1] = kv::test::viewOf (bytes);
        const auto report = runInstallPass (r);

        ASSERT_EQ (report.outcomes.size(), 1u) << what;
        EXPECT_EQ (report.outcomes[0].problem, InstallProblem::archiveDamaged) << what;
        EXPECT_EQ (snapshotTree (destination (1)), before) << what;
        EXPECT_TRUE (report.details().contains ("Download the installer again")) << what;

        // Aimed at a folder that does not exist yet, it leaves no folder behind either.
        r.destinationFolders[1] = sandbox.root().getChildFile ("new/CLAP");
        EXPECT_EQ (runInstallPass (r).outcomes[0].problem, InstallProblem::archiveDamaged) << what;
        EXPECT_FALSE (sandbox.root().getChildFile ("new").exists()) << what;
    }
}

TEST_F (InstallPass, UnsafeEntriesAreRefusedBeforeAnythingIsWritten)
{
    using kv::payload::ZipWriter;
    const auto outside = sandbox.root().getChildFile ("evil.txt");

    std::vector<std::pair<const char*, kv::payload::Bytes>> cases;
    for (const char* name : { "..\\evil.txt", "Strandline2.vst3\\..\\..\\evil.txt", "C:\\evil.txt", "/tmp/evil.txt",
                              "\\evil.txt", "Beside.txt", "Strandline2.vst3\\a\\\\b.txt" })
    {
        auto w = kv::payload::makeFormatArchive (0, { 4096 });
        w.addTextFile (name, "evil");
        cases.push_back ({ name, w.toBytes() });
    }
    {
        auto w = kv::payload::makeFormatArchive (0, { 4096 });
        w.addSymlink ("Strandline2.vst3\\Contents\\link", outside.getFullPathName().toStdString());
        cases.push_back ({ "symbolic link", w.toBytes() });
    }

    installOldCopy (0);
    const auto before = snapshotTree (sandbox.root());

    for (const auto& [what, bytes] : cases)
    {
        auto r = request ({ true, false, false });
        r.archives[0] = kv::test::viewOf (bytes);
        const auto report = runInstallPass (r);

        EXPECT_EQ (report.outcomes[0].problem, InstallProblem::archiveUnsafe) << what;
        EXPECT_EQ (snapshotTree (sandbox.root()), before) << what;
        EXPECT_FALSE (outside.exists()) << what;
    }
}

TEST_F (InstallPass, LinksInsideTheOldBundleAreNeverFollowed)
{
    const auto precious = sandbox.root().getChildFile ("precious");
    kv::test::writeText (precious.getChildFile ("keep.txt"), "user data");
    installOldCopy (0);
    ASSERT_EQ (::symlink (precious.getFullPathName().toRawUTF8(), bundle (0).getChildFile ("Contents/escape").getFullPathName().toRawUTF8()), 0);
    const auto preciousBefore = snapshotTree (precious);

    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_EQ (snapshotTree (precious), preciousBefore);

    ASSERT_EQ (::symlink (precious.getFullPathName().toRawUTF8(), bundle (0).getChildFile ("Contents/escape").getFullPathName().toRawUTF8()), 0);
    EXPECT_TRUE (runInstallPass (request ({ true, false, false }, true)).succeeded());
    EXPECT_FALSE (bundle (0).exists());
    EXPECT_EQ (snapshotTree (precious), preciousBefore);
}

TEST_F (InstallPass, ABundleThatIsItselfALinkIsReplacedWithoutTouchingItsTarget)
{
    const auto elsewhere = sandbox.root().getChildFile ("elsewhere");
    kv::test::writeText (elsewhere.getChildFile ("keep.txt"), "user data");
    destination (0).createDirectory();
    ASSERT_EQ (::symlink (elsewhere.getFullPathName().toRawUTF8(), bundle (0).getFullPathName().toRawUTF8()), 0);

    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_FALSE (bundle (0).isSymbolicLink());
    EXPECT_TRUE (bundle (0).getChildFile ("desktop.ini").existsAsFile());
    EXPECT_EQ (elsewhere.getChildFile ("keep.txt").loadFileAsString(), "user data");
    expectOnlyTheBundleIn (0);
}

namespace
{
    // Removes everything but items of one name inside our own leftovers, as a module a host
    // keeps loaded stays: it can be renamed, never deleted.
    struct HeldByAHost final : public FileOperations
    {
        juce::String heldName;
        bool scheduled = false;

        bool removeItem (const juce::File& item) override
        {
            const auto held = item.getFileName().upToFirstOccurrenceOf (".kv-inert", false, false) == heldName
                              && item.getFullPathName().contains (".kv-");
            return ! held && FileOperations::removeItem (item);
        }

        bool scheduleRemovalAtRestart (const juce::File&) override { return scheduled; }
    };

    bool holdsLoadableNames (const juce::File& item)
    {
        if (item.getFileName().endsWithIgnoreCase (".vst3") || item.getFileName().endsWithIgnoreCase (".clap")
            || item.getFileName().endsWithIgnoreCase (".aaxplugin"))
            return true;

        for (const auto& child : item.findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
            if (holdsLoadableNames (child))
                return true;

        return false;
    }
}

TEST_F (InstallPass, ACopyAHostKeepsLoadedIsReplacedHiddenFromHostsAndToldAbout)
{
    for (const bool uninstall : { false, true })
    {
        SCOPED_TRACE (uninstall ? "uninstall" : "install");
        runInstallPass (request ({ true, true, false }));

        HeldByAHost files;
        files.heldName = "Strandline2.vst3";
        files.scheduled = uninstall;
        const auto report = runInstallPass (request ({ true, false, false }, uninstall), files);

        ASSERT_TRUE (report.succeeded()) << report.details();
        EXPECT_EQ (report.headline(), "SUCCESS!");
        EXPECT_EQ (bundle (0).isDirectory(), ! uninstall);

        // The only other item is our own leftover, holding nothing a host would load.
        const auto& leftover = report.outcomes[0].stillInUse;
        EXPECT_TRUE (leftover.getFileName().startsWith ("Strandline2.vst3.kv-removing")) << leftover.getFullPathName();
        EXPECT_EQ (destination (0).getNumberOfChildFiles (juce::File::findFilesAndDirectories), uninstall ? 1 : 2);
        EXPECT_TRUE (leftover.getChildFile ("Contents/x86_64-win/Strandline2.vst3.kv-inert").existsAsFile());
        EXPECT_FALSE (holdsLoadableNames (leftover));
        EXPECT_TRUE (report.notes().contains (uninstall ? "when Windows restarts" : "the next time the installer starts"))
            << report.notes();
        EXPECT_FALSE (report.details().contains ("not"));

        // Once the host lets go, the next pass clears it away.
        EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
        expectOnlyTheBundleIn (0);
    }
}

TEST_F (InstallPass, ReadOnlyItemsInsideTheBundleAreReplacedAndNothingOutsideIsTouched)
{
    installOldCopy (0);
    const auto outsider = destination (0).getChildFile ("Other.vst3");
    kv::test::writeText (outsider, "another maker's plug-in");
    outsider.setReadOnly (true);
    const auto modeOf = [] (const juce::File& f)
    { return std::filesystem::status (f.getFullPathName().toStdString()).permissions(); };
    const auto outsiderMode = modeOf (outsider);
    const auto folderMode = modeOf (destination (0));

    bundle (0).getChildFile ("Contents/Resources/old-preset.txt").setReadOnly (true);
    bundle (0).getChildFile ("Contents/Resources").setReadOnly (true);
    bundle (0).setReadOnly (true);

    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_FALSE (bundle (0).getChildFile ("Contents/Resources/old-preset.txt").exists());
    EXPECT_TRUE (bundle (0).getChildFile ("Contents/Resources/moduleinfo.json").existsAsFile());
    EXPECT_EQ (modeOf (outsider), outsiderMode);
    EXPECT_EQ (modeOf (destination (0)), folderMode);
    EXPECT_EQ (outsider.loadFileAsString(), "another maker's plug-in");
    outsider.setReadOnly (false);
    outsider.deleteFile();
    expectOnlyTheBundleIn (0);
}

TEST_F (InstallPass, APreviousCopyThatCannotBePutBackIsReportedWhereItIsAndRestoredAtTheNextStart)
{
    installOldCopy (0);
    const auto before = snapshotTree (bundle (0));

    // Nothing may be moved onto the bundle path: neither the new copy nor the old one back.
    struct NothingOntoTheBundle final : public FileOperations
    {
        juce::File bundle;
        bool move (const juce::File& from, const juce::File& to) override
        {
            return to != bundle && FileOperations::move (from, to);
        }
    } files;
    files.bundle = bundle (0);

    const auto report = runInstallPass (request ({ true, false, false }), files);

    const auto& outcome = report.outcomes[0];
    EXPECT_FALSE (report.succeeded());
    ASSERT_TRUE (outcome.previousCopyAt.getFileName().startsWith ("Strandline2.vst3.kv-old"));
    EXPECT_TRUE (report.details().contains ("could not be put back; it is now at " + outcome.previousCopyAt.getFullPathName()));
    EXPECT_FALSE (report.details().contains ("kept as it was"));
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
        EXPECT_TRUE (report.details().startsWith ("Another installer is running."));
        EXPECT_EQ (recoverAtStart ("Strandline2", r.destinationFolders).removed, 0);
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
