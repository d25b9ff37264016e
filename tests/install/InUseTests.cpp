// Copies held by a host, a virus scanner or their attributes.
#include "install/InstallPassFixture.h"
#include "messages/Messages.h"
#include "fs/StrictRules.h"
#include "support/Immutable.h"

#include <atomic>
#include <thread>

using namespace kv::fs;
using namespace kv::install;

using namespace kv::test;

namespace
{
    // A host that keeps modules loaded: under Windows' own rules (strict::Hold, as the suite
    // meets them) a loaded module can be renamed, never deleted, and no folder with a handle open
    // inside can be renamed or deleted. Wine lets such a folder be renamed: its rows replace the
    // file operations instead, as no handle rule says so.
    struct HeldByAHost final : public FileOperations
    {
        HeldByAHost() { holdRetryMs = 0; }
        juce::String heldName;
        bool windowsRules = false;
        juce::StringArray scheduled; // what Windows was asked to delete when it starts

        // Under Windows' rules: the host's handles, whatever their items are renamed to since.
        std::vector<std::unique_ptr<strict::Hold>> holds;

        // Under Wine's: the modules the host loaded, whatever they are renamed to since.
        std::set<ino_t> loaded;

        void load (const juce::File& bundle, strict::Hold::Kind kind = strict::Hold::Kind::loadedModule)
        {
            auto modules = bundle.findChildFiles (juce::File::findFiles, true, heldName);
            if (bundle.existsAsFile())
                modules.add (bundle);

            for (const auto& f : modules)
            {
                if (windowsRules)
                    holds.push_back (std::make_unique<strict::Hold> (f, kind));
                else
                    loaded.insert (inodeOf (f));
            }
        }

        void letGo()
        {
            holds.clear();
            loaded.clear();
        }

        static ino_t inodeOf (const juce::File& f)
        {
            struct stat info
            {
            };
            ::lstat (f.getFullPathName().toRawUTF8(), &info);
            return info.st_ino;
        }

        bool heldUnderWine (const juce::File& item) const
        {
            if (item.existsAsFile() && loaded.count (inodeOf (item)) > 0)
                return true;

            for (const auto& child : item.findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
                if (heldUnderWine (child))
                    return true;

            return false;
        }

        FsStatus remove (const FolderHandle& parent, const juce::String& name) override
        {
            return heldUnderWine (parent.pathOf (name)) ? FsStatus (FsStatus::busy) : FileOperations::remove (parent, name);
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
        bool heldFolder = false; // a console or host works in a folder of the bundle
        bool withoutDeleteSharing = false; // the module is held open without delete sharing, not loaded
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
                             Row { "VST3 uninstall, a folder standard users may write", 0, true, false, true, true },
                             Row { "VST3 install, a console in the bundle, Windows", 0, false, true, false, false, true },
                             Row { "AAX uninstall, a console in the bundle, Windows", 2, true, true, false, false, true },
                             Row { "CLAP install, held open without delete sharing, Windows", 1, false, true, false, false, false, true } })
    {
        SCOPED_TRACE (row.what);
        destination (row.format).deleteRecursively();
        runInstallPass (request ({ true, true, true }));
        destination (row.format).setReadOnly (false);
        ::chmod (destination (row.format).getFullPathName().toRawUTF8(), row.othersMayWrite ? 0777 : 0755);
        const auto before = snapshotTree (bundle (row.format));

        HeldByAHost files;
        files.heldName = row.heldFolder ? juce::String ("Contents") : bundleNameFor ("Strandline2", row.format);
        files.windowsRules = row.windowsRules;
        if (row.heldFolder)
            files.holds.push_back (std::make_unique<strict::Hold> (bundle (row.format).getChildFile ("Contents"), strict::Hold::Kind::currentFolder));
        else
            files.load (bundle (row.format), row.withoutDeleteSharing ? strict::Hold::Kind::openWithoutDeleteSharing : strict::Hold::Kind::loadedModule);
        FormatArray<bool> selected {};
        selected[(size_t) row.format] = true;
        const auto report = runInstallPass (request (selected, row.uninstall), files);

        if (! row.replaced)
        {
            EXPECT_FALSE (report.succeeded());
            EXPECT_EQ (snapshotTree (bundle (row.format)), before);
            EXPECT_TRUE (kv::messages::failureDetails (report).contains ("kept as it was")) << kv::messages::failureDetails (report);
            expectOnlyTheBundleIn (row.format);
            files.letGo();
            continue;
        }

        ASSERT_TRUE (report.succeeded()) << kv::messages::failureDetails (report);
        EXPECT_EQ (kv::messages::headline (report), "SUCCESS!");
        EXPECT_EQ (bundle (row.format).exists(), ! row.uninstall);

        // The only other item is our own leftover, holding nothing a host would load.
        const auto& leftover = report.outcomes[0].stillInUse;
        EXPECT_TRUE (leftover.getFileName().startsWith (bundleNameFor ("Strandline2", row.format) + ".kv-removing")) << leftover.getFullPathName();
        EXPECT_EQ (destination (row.format).getNumberOfChildFiles (juce::File::findFilesAndDirectories), row.uninstall ? 1 : 2);
        EXPECT_FALSE (holdsLoadableNames (leftover));

        // Windows deletes by path at boot: only items inside our own leftover, and never where a
        // standard user could swap a link in first.
        for (const auto& path : files.scheduled)
            EXPECT_TRUE (path.startsWith (leftover.getFullPathName())) << path;
        EXPECT_EQ (files.scheduled.isEmpty(), row.othersMayWrite);
        EXPECT_TRUE (kv::messages::successNote (report).contains (row.othersMayWrite ? "the next time the installer starts" : "when Windows restarts"))
            << kv::messages::successNote (report);
        EXPECT_FALSE (kv::messages::failureDetails (report).contains ("not"));

        // Once the host lets go, the next pass clears it away.
        files.letGo();
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

        EXPECT_EQ (report.succeeded(), ! holdOutlastsTheWait) << kv::messages::failureDetails (report);
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

namespace
{
    struct CountingRenames final : public FileOperations
    {
        CountingRenames() { holdRetryMs = 2000; }
        juce::String counted;
        int renames = 0;

        FsStatus rename (const FolderHandle& from, const juce::String& name, const FolderHandle& to, const juce::String& toName) override
        {
            renames += name == counted ? 1 : 0;
            return FileOperations::rename (from, name, to, toName);
        }
    };
}

TEST_F (InstallPass, PermissionRefusedIsSaidAsSuchAndNeverWaitedFor)
{
    ASSERT_TRUE (runInstallPass (request ({ true, true, false })).succeeded());
    installOldCopy (0);

    {
        // The installed CLAP file itself: it cannot be moved aside, and no wait would change that.
        const Immutable lock (bundle (1));
        if (! lock.locked)
            GTEST_SKIP() << "immutable files need root on a file system that has them";

        const auto before = snapshotTree (destination (1));
        CountingRenames files;
        files.counted = bundle (1).getFileName();
        const auto report = runInstallPass (request ({ false, true, false }), files);

        ASSERT_EQ (report.outcomes.size(), 1u);
        EXPECT_EQ (report.outcomes[0].problem, InstallProblem::accessDenied);
        EXPECT_EQ (files.renames, 1);
        EXPECT_TRUE (kv::messages::failureDetails (report).contains ("refused permission")) << kv::messages::failureDetails (report);
        EXPECT_FALSE (kv::messages::failureDetails (report).contains ("Close any program")) << kv::messages::failureDetails (report);
        EXPECT_EQ (snapshotTree (destination (1)), before);
    }

    {
        // A file inside the old VST3 copy: the new copy goes in, and the note says why the old one
        // stays. Its read-only folder was opened up to be emptied, and is closed again as it stays.
        const Immutable lock (bundle (0).getChildFile ("Contents/Resources/old-preset.txt"));
        const auto resources = bundle (0).getChildFile ("Contents/Resources").getFullPathName();
        ASSERT_EQ (::chmod (resources.toRawUTF8(), 0555), 0);
        const auto report = runInstallPass (request ({ true, false, false }));

        ASSERT_TRUE (report.succeeded()) << kv::messages::failureDetails (report);
        EXPECT_TRUE (report.outcomes[0].removalRefused);
        EXPECT_TRUE (bundle (0).getChildFile ("Contents/Resources/moduleinfo.json").existsAsFile());
        EXPECT_TRUE (kv::messages::successNote (report).contains ("could not be deleted: administrators are not allowed"))
            << kv::messages::successNote (report);
        EXPECT_TRUE (kv::messages::failureDetails (report).contains ("could not be deleted: administrators are not allowed")) << kv::messages::failureDetails (report);
        EXPECT_FALSE (holdsLoadableNames (report.outcomes[0].stillInUse));

        struct stat info
        {
        };
        ASSERT_EQ (::stat (report.outcomes[0].stillInUse.getChildFile ("Contents/Resources").getFullPathName().toRawUTF8(), &info), 0);
        EXPECT_EQ (info.st_mode & 07777, 0555u) << "the marks of a folder that stays are put back";
    }
}

namespace
{
    // A virus scanner opens a file of the old copy, sharing delete, just as it is deleted: on a
    // volume without POSIX deletion its name stays, delete pending, until the scanner lets go.
    struct ScannedAtRemoval final : public FileOperations
    {
        juce::String scannedName;
        std::unique_ptr<strict::Hold> hold;
        std::atomic<bool> scanned { false };

        FsStatus remove (const FolderHandle& parent, const juce::String& name) override
        {
            if (name == scannedName && ! scanned)
            {
                hold = std::make_unique<strict::Hold> (parent.pathOf (name), strict::Hold::Kind::sharingDelete);
                scanned = true;
            }

            return FileOperations::remove (parent, name);
        }
    };
}

TEST_F (InstallPass, ANameLeftDeletePendingIsWaitedOutAsGone)
{
    for (const bool scanOutlastsTheWait : { false, true })
    {
        SCOPED_TRACE (scanOutlastsTheWait ? "scanned too long" : "scanned for a moment");
        installOldCopy (0);

        ScannedAtRemoval files;
        files.scannedName = "old-preset.txt";
        files.holdRetryMs = scanOutlastsTheWait ? 50 : 2000;

        // The scanner lets go after a moment, on its own thread.
        std::atomic<bool> passDone { false };
        std::thread scanner ([&]
                             {
                                 while (! passDone && (scanOutlastsTheWait || ! files.scanned))
                                     juce::Thread::sleep (5);
                                 juce::Thread::sleep (scanOutlastsTheWait ? 0 : 100);
                                 if (! scanOutlastsTheWait)
                                     files.hold.reset(); });

        const auto report = runInstallPass (request ({ true, false, false }), files);
        passDone = true;
        scanner.join();

        ASSERT_TRUE (report.succeeded()) << kv::messages::failureDetails (report);
        EXPECT_TRUE (bundle (0).getChildFile ("Contents/Resources/moduleinfo.json").existsAsFile());

        if (scanOutlastsTheWait)
        {
            // Said as in use, never as refused, and hidden until the next pass.
            EXPECT_NE (report.outcomes[0].stillInUse, juce::File());
            EXPECT_FALSE (report.outcomes[0].removalRefused);
            files.hold.reset();
            EXPECT_TRUE (runInstallPass (request ({ true, false, false })).succeeded());
        }
        else
        {
            EXPECT_EQ (report.outcomes[0].stillInUse, juce::File());
        }

        expectOnlyTheBundleIn (0);
    }
}
