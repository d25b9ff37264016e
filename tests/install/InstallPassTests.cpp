#include <gtest/gtest.h>

#include "identity/ProductIdentity.h"
#include "install/Install.h"
#include "install/detail/Leftovers.h"
#include "install/detail/Recovery.h"
#include "platform/InstallerLock.h"
#include "support/ArchiveFixtures.h"
#include "support/Sandbox.h"
#include "support/TreeSnapshot.h"

#include <filesystem>
#include <zlib.h>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace kv::fs;
using namespace kv::install;

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

        InstallRequest request (FormatArray<bool> selected, bool uninstall = false) const
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
        FailingMove() { holdRetryMs = 0; }
        juce::File refuse;
        FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName) override
        {
            return from.pathOf (name) == refuse ? FsStatus::busy : FileOperations::rename (from, name, to, toName);
        }
    };

    struct FailingWrite final : public FileOperations
    {
        FailingWrite() { holdRetryMs = 0; }
        juce::String refuseName;
        std::unique_ptr<HandleOutputStream> createFile (const FolderHandle& parent, const juce::String& name, FsStatus& status) override
        {
            if (name.upToFirstOccurrenceOf (".kv-inert", false, false) != refuseName)
                return FileOperations::createFile (parent, name, status);

            status = FsStatus::busy;
            return nullptr;
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
    // A module a host keeps loaded: it can be renamed, never deleted. Under Windows' own rules
    // (not Wine's) a folder with any handle open inside cannot be renamed either.
    struct HeldByAHost final : public FileOperations
    {
        HeldByAHost() { holdRetryMs = 0; }
        juce::String heldName;
        bool windowsRules = false;
        juce::StringArray scheduled; // what Windows was asked to delete when it starts

        // The host holds the modules it loaded, whatever they are renamed to since.
        std::set<ino_t> loaded;

        void load (const juce::File& bundle)
        {
            for (const auto& f : bundle.findChildFiles (juce::File::findFiles, true, heldName))
                loaded.insert (inodeOf (f));
            if (bundle.existsAsFile())
                loaded.insert (inodeOf (bundle));
        }

        static ino_t inodeOf (const juce::File& f)
        {
            struct stat info
            {
            };
            ::lstat (f.getFullPathName().toRawUTF8(), &info);
            return info.st_ino;
        }

        bool holds (const juce::File& item, const juce::String&) const
        {
            if (item.existsAsFile() && loaded.count (inodeOf (item)) > 0)
                return true;

            for (const auto& child : item.findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
                if (holds (child, {}))
                    return true;

            return false;
        }

        FsStatus remove (const FolderHandle& parent, const juce::String& name) override
        {
            return holds (parent.pathOf (name), heldName) ? FsStatus::busy : FileOperations::remove (parent, name);
        }

        FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName) override
        {
            const auto item = from.pathOf (name);
            return windowsRules && item.isDirectory() && holds (item, heldName) ? FsStatus::busy
                                                                                : FileOperations::rename (from, name, to, toName);
        }

        bool scheduleRemovalAtRestart (const FolderHandle& parent, const juce::String& name) override
        {
            scheduled.add (parent.pathOf (name).getFullPathName());
            return true;
        }
    };

    bool holdsLoadableNames (const juce::File& item)
    {
        if (leftovers::isLoadableName (item.getFileName()))
            return true;

        for (const auto& child : item.findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
            if (holdsLoadableNames (child))
                return true;

        return false;
    }
}

TEST_F (InstallPass, ACopyAHostKeepsLoadedIsHiddenFromHostsOrKeptAndToldAbout)
{
    struct Row
    {
        const char* what;
        int format;
        bool uninstall, windowsRules, othersMayWrite;
        bool replaced;
    };

    // Whether others may write a folder is read from its mode bits here: folders made by the
    // pass must not be group-writable merely because of the caller's umask.
    const auto callersMask = ::umask (022);

    // Wine lets a folder with a loaded module inside be renamed; Windows does not, but it does
    // let the loaded file itself be renamed.
    for (const auto& row : { Row { "VST3 install, Wine", 0, false, false, false, true },
                             Row { "VST3 uninstall, Wine", 0, true, false, false, true },
                             Row { "VST3 install, Windows", 0, false, true, false, false },
                             Row { "VST3 uninstall, Windows", 0, true, true, false, false },
                             Row { "CLAP install, Windows", 1, false, true, false, true },
                             Row { "VST3 uninstall, a folder standard users may write", 0, true, false, true, true } })
    {
        SCOPED_TRACE (row.what);
        destination (row.format).deleteRecursively();
        runInstallPass (request ({ true, true, false }));
        destination (row.format).setReadOnly (false);
        ::chmod (destination (row.format).getFullPathName().toRawUTF8(), row.othersMayWrite ? 0777 : 0755);
        const auto before = snapshotTree (bundle (row.format));

        HeldByAHost files;
        files.heldName = "Strandline2" + formatExtensions[row.format];
        files.windowsRules = row.windowsRules;
        files.load (bundle (row.format));
        FormatArray<bool> selected {};
        selected[(size_t) row.format] = true;
        const auto report = runInstallPass (request (selected, row.uninstall), files);

        if (! row.replaced)
        {
            EXPECT_FALSE (report.succeeded());
            EXPECT_EQ (snapshotTree (bundle (row.format)), before);
            EXPECT_TRUE (report.details().contains ("kept as it was")) << report.details();
            expectOnlyTheBundleIn (row.format);
            continue;
        }

        ASSERT_TRUE (report.succeeded()) << report.details();
        EXPECT_EQ (report.headline(), "SUCCESS!");
        EXPECT_EQ (bundle (row.format).exists(), ! row.uninstall);

        // The only other item is our own leftover, holding nothing a host would load.
        const auto& leftover = report.outcomes[0].stillInUse;
        EXPECT_TRUE (leftover.getFileName().startsWith ("Strandline2" + formatExtensions[row.format] + ".kv-removing")) << leftover.getFullPathName();
        EXPECT_EQ (destination (row.format).getNumberOfChildFiles (juce::File::findFilesAndDirectories), row.uninstall ? 1 : 2);
        EXPECT_FALSE (holdsLoadableNames (leftover));

        // Windows deletes by path at boot: only items inside our own leftover, and never where a
        // standard user could swap a link in first.
        for (const auto& path : files.scheduled)
            EXPECT_TRUE (path.startsWith (leftover.getFullPathName())) << path;
        EXPECT_EQ (files.scheduled.isEmpty(), row.othersMayWrite);
        EXPECT_TRUE (report.notes().contains (row.othersMayWrite ? "the next time the installer starts" : "when Windows restarts"))
            << report.notes();
        EXPECT_FALSE (report.details().contains ("not"));

        // Once the host lets go, the next pass clears it away.
        EXPECT_TRUE (runInstallPass (request (selected)).succeeded());
        expectOnlyTheBundleIn (row.format);
    }

    ::umask (callersMask);
}

TEST_F (InstallPass, BriefHoldsAreWaitedOutAndLongOnesReportedTruthfully)
{
    // A scanner that holds the bundle for the first few tries to move it.
    struct BrieflyHeld final : public FileOperations
    {
        int refusalsLeft = 0;

        FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName) override
        {
            if (name == "Strandline2.vst3" && refusalsLeft-- > 0)
                return FsStatus::busy;

            return FileOperations::rename (from, name, to, toName);
        }
    };

    for (const bool holdOutlastsTheWait : { false, true })
    {
        SCOPED_TRACE (holdOutlastsTheWait ? "held too long" : "held for moments");
        installOldCopy (0);
        const auto before = snapshotTree (bundle (0));

        BrieflyHeld files;
        files.refusalsLeft = holdOutlastsTheWait ? 1000000 : 3;
        files.holdRetryMs = holdOutlastsTheWait ? 50 : 2000;
        const auto report = runInstallPass (request ({ true, false, false }), files);

        EXPECT_EQ (report.succeeded(), ! holdOutlastsTheWait) << report.details();
        if (holdOutlastsTheWait)
            EXPECT_EQ (snapshotTree (bundle (0)), before);
        else
            EXPECT_TRUE (bundle (0).getChildFile ("Contents/Resources/moduleinfo.json").existsAsFile());
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
        NothingOntoTheBundle() { holdRetryMs = 0; }
        juce::File bundle;
        FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName) override
        {
            return to.pathOf (toName) == bundle ? FsStatus::busy : FileOperations::rename (from, name, to, toName);
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
    EXPECT_TRUE (report.notes().contains ("kept at " + old ({}).getFullPathName())) << report.notes();
    EXPECT_EQ (snapshotTree (old ({})), before);

    // With a whole bundle in place it may go at last.
    EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    expectOnlyTheBundleIn (0);
}

TEST_F (InstallPass, ADestinationBehindALinkIsServedThroughIt)
{
    // A plug-in folder moved to another drive, a link left in its place.
    const auto moved = sandbox.root().getChildFile ("other drive/VST3");
    ASSERT_TRUE (moved.createDirectory());
    ASSERT_TRUE (moved.createSymbolicLink (destination (0), false));

    ASSERT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
    EXPECT_TRUE (moved.getChildFile ("Strandline2.vst3/Contents/x86_64-win/Strandline2.vst3").existsAsFile());

    kv::test::writeText (moved.getChildFile ("Strandline2.vst3.kv-removing/Contents/x"), "left by a killed pass");
    EXPECT_EQ (recoverAtStart ("Strandline2", { destination (0), destination (1), destination (2) }).removed, 1);

    ASSERT_TRUE (runInstallPass (request ({ true, false, false }, true)).succeeded());
    EXPECT_EQ (moved.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_TRUE (destination (0).isSymbolicLink());
}
