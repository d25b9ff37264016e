#include <gtest/gtest.h>

#include "identity/BundleLocation.h"
#include "identity/Formats.h"
#include "install/detail/InertNames.h"
#include "install/detail/Recovery.h"
#include "install/Install.h"
#include "support/ArchiveFixtures.h"
#include "support/Sandbox.h"
#include "support/TreeSnapshot.h"

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using namespace kv::fs;
using namespace kv::install;

using kv::test::snapshotTree;
using kv::test::TreeSnapshot;

namespace
{
    // The file system as a test wants it at one numbered step: every change (and, for the race
    // rounds, every open) counts as a step.
    struct SteppedFiles : public FileOperations
    {
        SteppedFiles() { holdRetryMs = 0; }

        int steps = 0;
        bool countOpens = false;
        juce::String heldName; // a module a host keeps loaded: it can be renamed, never removed
        std::function<void (int, const FolderHandle&, const juce::String&)> atStep;

        void step (const FolderHandle& parent, const juce::String& name)
        {
            ++steps;
            if (atStep)
                atStep (steps, parent, name);
        }

        FsStatus createFolder (const FolderHandle& p, const juce::String& n) override { return step (p, n), FileOperations::createFolder (p, n); }
        FsStatus rename (const FolderHandle& a, const juce::String& n, const FolderHandle& b, const juce::String& m) override
        {
            return step (a, n), FileOperations::rename (a, n, b, m);
        }
        FsStatus remove (const FolderHandle& p, const juce::String& n) override
        {
            step (p, n);
            const auto held = heldName.isNotEmpty() && n.upToFirstOccurrenceOf (leftovers::inertSuffix, false, false) == heldName
                              && p.path().getFullPathName().contains (".kv-");
            return held ? FsStatus (FsStatus::busy) : FileOperations::remove (p, n);
        }
        std::unique_ptr<HandleOutputStream> createFile (const FolderHandle& p, const juce::String& n, FsStatus& s) override
        {
            return step (p, n), FileOperations::createFile (p, n, s);
        }
        FolderHandle openFolder (const FolderHandle& p, const juce::String& n, FsStatus& s) override
        {
            if (countOpens)
                step (p, n);
            return FileOperations::openFolder (p, n, s);
        }
        FsStatus clearProtectiveAttributes (const FolderHandle& p, const juce::String& n) override
        {
            if (countOpens)
                step (p, n);
            return FileOperations::clearProtectiveAttributes (p, n);
        }
    };

    // Where a pass starts from.
    enum class Start
    {
        oldBundles, // an older copy of every format
        noDestination, // a first install: not even the folders exist
        leftoversPresent, // what earlier passes left: a half-staged copy, garbage, an older old copy
        oldCopyInUse, // a host keeps the old modules loaded: they go the ".kv-removing" way
        restoreBranch // a pass died with every bundle moved aside, one with its names made inert
    };

    const char* nameOf (Start start)
    {
        switch (start)
        {
            case Start::oldBundles: return "old bundles";
            case Start::noDestination: return "no destination";
            case Start::leftoversPresent: return "leftovers present";
            case Start::oldCopyInUse: return "old copy in use";
            case Start::restoreBranch: return "restore branch";
        }
        return "";
    }

    struct CrashPoints : public ::testing::Test
    {
        kv::test::Sandbox sandbox;
        kv::test::FixtureArchives oldArchives { "2.2.0.0" }, newArchives { "2.3.0.0" };

        FormatArray<juce::File> destinations() const
        {
            return { sandbox.root().getChildFile ("VST3"), sandbox.root().getChildFile ("CLAP"), sandbox.root().getChildFile ("AAX") };
        }

        juce::File bundle (int i) const { return bundleFileFor (destinations()[(size_t) i], "Strandline2", i); }
        juce::File outsider() const { return destinations()[0].getChildFile ("Other.vst3"); }

        InstallReport pass (const kv::test::FixtureArchives& archives, bool uninstall, FileOperations& files = FileOperations::real()) const
        {
            InstallRequest r;
            r.uninstall = uninstall;
            r.productName = "Strandline2";
            r.selected = { true, true, true };
            r.destinationFolders = destinations();
            r.archives = archives.archives();
            return runInstallPass (r, files);
        }

        void startOver() const
        {
            for (const auto& folder : destinations())
                folder.deleteRecursively();
        }

        // The bundles as the pass will find them, plus another maker's plug-in that must never be touched.
        void prepare (Start start) const
        {
            startOver();

            if (start == Start::noDestination)
                return;

            pass (oldArchives, false);
            kv::test::writeText (outsider().getChildFile ("Contents/x.vst3"), "another plug-in");

            for (int i = 0; i < numFormats; ++i)
            {
                const auto b = bundle (i);

                if (start == Start::leftoversPresent)
                {
                    kv::test::writeText (b.getSiblingFile (b.getFileName() + ".kv-staging/" + bundleNameFor ("Strandline2", i) + ".kv-inert/half"), "half");
                    kv::test::writeText (b.getSiblingFile (b.getFileName() + ".kv-removing4/garbage"), "garbage");
                    kv::test::writeText (b.getSiblingFile (b.getFileName() + ".kv-old2/older"), "an older copy");
                }
                else if (start == Start::restoreBranch)
                {
                    const auto aside = b.getSiblingFile (b.getFileName() + ".kv-old");
                    b.moveFileTo (aside);

                    if (i == 0)
                    {
                        const auto module = aside.getChildFile ("Contents/x86_64-win/Strandline2.vst3");
                        module.moveFileTo (module.getSiblingFile (module.getFileName() + ".kv-inert"));
                    }
                }
            }
        }

        // What the bundles hold before a pass from this start, whether the pass runs or not.
        FormatArray<TreeSnapshot> oldTrees (Start start)
        {
            prepare (start == Start::restoreBranch ? Start::oldBundles : start);
            return { snapshotTree (bundle (0)), snapshotTree (bundle (1)), snapshotTree (bundle (2)) };
        }

        // Copies a recursive scan of the folder would load: loadable names of ours, not looked into.
        static int loadableCopiesIn (const juce::File& folder)
        {
            int found = 0;

            for (const auto& item : folder.findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
            {
                if (item.getFileName().startsWithIgnoreCase ("Strandline2") && leftovers::isLoadableName (item.getFileName()))
                    ++found;
                else if (item.isDirectory() && ! item.isSymbolicLink())
                    found += loadableCopiesIn (item);
            }

            return found;
        }

        // Runs the pass in a child process that dies just before step k; true if it died there.
        bool diesAt (int k, bool uninstall, const juce::String& heldName) const
        {
            const auto child = ::fork();

            if (child == 0)
            {
                SteppedFiles files;
                files.heldName = heldName;
                files.atStep = [k] (int step, const FolderHandle&, const juce::String&)
                {
                    if (step == k)
                        ::_exit (3);
                };
                pass (newArchives, uninstall, files);
                ::_exit (0);
            }

            int status = 0;
            ::waitpid (child, &status, 0);
            return WIFEXITED (status) && WEXITSTATUS (status) == 3;
        }
    };
}

TEST_F (CrashPoints, EveryStepFromEveryStartLeavesOneWholeLoadableCopyAndRecoveryClearsTheRest)
{
    prepare (Start::noDestination);
    pass (newArchives, false);
    const FormatArray<TreeSnapshot> newTrees { snapshotTree (bundle (0)), snapshotTree (bundle (1)), snapshotTree (bundle (2)) };

    int tried = 0;
    juce::StringArray perPass;

    for (const auto start : { Start::oldBundles, Start::noDestination, Start::leftoversPresent, Start::oldCopyInUse, Start::restoreBranch })
    {
        const auto old = oldTrees (start);
        const auto held = start == Start::oldCopyInUse ? juce::String ("Strandline2.vst3") : juce::String();

        for (const bool uninstall : { false, true })
        {
            if (uninstall && start == Start::noDestination)
                continue;

            prepare (start);
            SteppedFiles counter;
            counter.heldName = held;
            pass (newArchives, uninstall, counter);
            ASSERT_GT (counter.steps, uninstall ? 4 : 20) << nameOf (start);
            perPass.add (juce::String (nameOf (start)) + (uninstall ? " uninstall " : " install ") + juce::String (counter.steps));

            for (int k = 1; k <= counter.steps; ++k)
            {
                SCOPED_TRACE (juce::String (nameOf (start)) + (uninstall ? ", uninstall" : ", install") + ", death at step " + juce::String (k));
                prepare (start);
                const auto other = snapshotTree (outsider());
                ASSERT_TRUE (diesAt (k, uninstall, held));
                ++tried;

                for (int i = 0; i < numFormats; ++i)
                    EXPECT_LE (loadableCopiesIn (destinations()[(size_t) i]), 1) << formatNames[i] << ": two copies a host could load";

                recoverAtStart ("Strandline2", destinations());

                for (int i = 0; i < numFormats; ++i)
                {
                    const auto now = snapshotTree (bundle (i));
                    const auto whole = now == old[(size_t) i] || (uninstall ? now.empty() : now == newTrees[(size_t) i]);
                    EXPECT_TRUE (whole) << formatNames[i] << " is neither the old nor the " << (uninstall ? "removed" : "new") << " bundle";
                }

                EXPECT_EQ (snapshotTree (outsider()), other);

                ASSERT_TRUE (pass (newArchives, false).succeeded());
                for (int i = 0; i < numFormats; ++i)
                    for (const auto& item : destinations()[(size_t) i].findChildFiles (juce::File::findFilesAndDirectories, false))
                        EXPECT_TRUE (item == bundle (i) || item == outsider()) << item.getFullPathName() << ": a leftover survived a clean pass";
            }
        }
    }

    RecordProperty ("crash_points", tried);
    std::cout << "crash points tried: " << tried << " (" << perPass.joinIntoString (", ") << ")" << std::endl;
}

namespace
{
    // Every item below a folder with its permission bits: "unchanged" includes its modes.
    TreeSnapshot snapshotWithModes (const juce::File& top)
    {
        auto snapshot = snapshotTree (top);

        for (auto& [path, what] : snapshot)
        {
            const auto item = path == "." ? top : top.getChildFile (path.substring (2));
            std::error_code error;
            const auto status = std::filesystem::symlink_status (item.getFullPathName().toStdString(), error);
            what << " mode " << juce::String ((int) status.permissions());
        }

        return snapshot;
    }
}

// A standard user who can write below a destination swaps, between any check and its action,
// the item acted on or a folder above it for a link to a folder of theirs. Whatever the swap
// does to the pass, nothing outside the product's own items may change.
TEST_F (CrashPoints, ALinkSwappedInBeforeAnyStepNeverSteersTheInstaller)
{
    const auto victim = sandbox.root().getChildFile ("victim");
    kv::test::writeText (victim.getChildFile ("Contents/x86_64-win/Strandline2.vst3"), "the user's own module");
    kv::test::writeText (victim.getChildFile ("keep.txt"), "the user's own file");
    victim.getChildFile ("keep.txt").setReadOnly (true);
    const auto victimBefore = snapshotWithModes (victim);

    // Everything in the sandbox but our own items in the destinations, and the swapped-aside ones.
    const auto outsideOurItems = [&]
    {
        TreeSnapshot outside;
        for (const auto& [path, what] : snapshotWithModes (sandbox.root()))
        {
            const auto inOurItems = path.matchesWildcard ("./*/Strandline2.*", false) && ! path.startsWith ("./victim");
            if (! inOurItems)
                outside[path] = what;
        }
        return outside;
    };

    int swaps = 0;

    enum class Round
    {
        install,
        uninstall,
        recovery
    };

    for (const auto round : { Round::install, Round::uninstall, Round::recovery })
    {
        for (const bool aboveTheItem : { false, true })
        {
            const auto setUp = [&]
            {
                prepare (round == Round::recovery ? Start::restoreBranch : Start::leftoversPresent);

                // A half-staged and a discarded copy with folders inside, for recovery to walk.
                for (int i = 0; i < numFormats; ++i)
                    kv::test::writeText (bundle (i).getSiblingFile (bundle (i).getFileName() + ".kv-removing/Contents/Resources/x"), "garbage");
            };

            const auto run = [&] (SteppedFiles& files)
            {
                if (round == Round::recovery)
                    recoverAtStart ("Strandline2", destinations(), files);
                else
                    pass (newArchives, round == Round::uninstall, files);
            };

            setUp();
            SteppedFiles counter;
            counter.countOpens = true;
            run (counter);

            for (int k = 1; k <= counter.steps; ++k)
            {
                SCOPED_TRACE (juce::String (round == Round::install ? "install" : round == Round::uninstall ? "uninstall"
                                                                                                            : "recovery")
                              + (aboveTheItem ? ", folder above swapped" : ", item swapped") + " before step " + juce::String (k));
                setUp();
                const auto outsideBefore = outsideOurItems();

                SteppedFiles files;
                files.countOpens = true;
                bool swapped = false;
                files.atStep = [&] (int step, const FolderHandle& parent, const juce::String& name)
                {
                    if (step != k)
                        return;

                    const auto target = aboveTheItem ? parent.path() : parent.pathOf (name);

                    // Only what lies below a destination can be swapped by its users.
                    if (! target.getFullPathName().contains ("/Strandline2.") || ! target.exists())
                        return;

                    swapped = target.moveFileTo (target.getSiblingFile (target.getFileName() + ".aside"))
                              && victim.createSymbolicLink (target, false);
                };
                run (files);
                swaps += swapped ? 1 : 0;

                ASSERT_EQ (snapshotWithModes (victim), victimBefore);
                EXPECT_EQ (outsideOurItems(), outsideBefore);
            }
        }
    }

    EXPECT_GT (swaps, 100);
    std::cout << "links swapped in: " << swaps << std::endl;
}
