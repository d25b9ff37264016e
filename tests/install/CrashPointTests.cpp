#include <gtest/gtest.h>

#include "identity/ProductIdentity.h"
#include "install/InstallPass.h"
#include "install/Recovery.h"
#include "support/ArchiveFixtures.h"
#include "support/Sandbox.h"
#include "support/TreeSnapshot.h"

#include <sys/wait.h>
#include <unistd.h>

using kv::test::snapshotTree;
using kv::test::TreeSnapshot;

namespace
{
    // Ends the process, as a kill or a power cut would, just before its k-th change to the
    // disk; with k past the last step it only counts them.
    struct DyingFiles final : public FileOperations
    {
        int dieAt = 0;
        int steps = 0;

        void step()
        {
            if (++steps == dieAt)
                ::_exit (3);
        }

        bool createDirectory (const juce::File& f) override { return step(), FileOperations::createDirectory (f); }
        bool move (const juce::File& a, const juce::File& b) override { return step(), FileOperations::move (a, b); }
        bool removeItem (const juce::File& f) override { return step(), FileOperations::removeItem (f); }
        std::unique_ptr<juce::OutputStream> createOutput (const juce::File& f) override { return step(), FileOperations::createOutput (f); }
    };

    struct CrashPoints : public ::testing::Test
    {
        kv::test::Sandbox sandbox;
        kv::test::FixtureArchives oldArchives { "2.2.0.0" }, newArchives { "2.3.0.0" };

        FormatArray<juce::File> destinations() const
        {
            return { sandbox.root().getChildFile ("VST3"), sandbox.root().getChildFile ("CLAP"), sandbox.root().getChildFile ("AAX") };
        }

        juce::File bundle (int i) const { return destinations()[(size_t) i].getChildFile ("Strandline2" + formatExtensions[i]); }

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

        // Old bundles everywhere, plus another maker's plug-in that must never be touched.
        void installOldBundles() const
        {
            startOver();
            pass (oldArchives, false);
            kv::test::writeText (destinations()[0].getChildFile ("Other.vst3/Contents/x.vst3"), "another plug-in");
        }

        FormatArray<TreeSnapshot> snapshots() const
        {
            return { snapshotTree (bundle (0)), snapshotTree (bundle (1)), snapshotTree (bundle (2)) };
        }

        // Runs the pass in a child process that dies at step k; true if it died there.
        bool diesAt (int k, bool uninstall) const
        {
            const auto child = ::fork();

            if (child == 0)
            {
                DyingFiles files;
                files.dieAt = k;
                pass (newArchives, uninstall, files);
                ::_exit (0);
            }

            int status = 0;
            ::waitpid (child, &status, 0);
            return WIFEXITED (status) && WEXITSTATUS (status) == 3;
        }
    };
}

TEST_F (CrashPoints, EveryStepOfInstallAndUninstallLeavesAWholeBundleAndRecoveryClearsTheRest)
{
    installOldBundles();
    const auto oldTrees = snapshots();
    const auto other = snapshotTree (destinations()[0].getChildFile ("Other.vst3"));
    pass (newArchives, false);
    const auto newTrees = snapshots();

    int tried = 0;
    juce::StringArray perPass;

    for (const bool uninstall : { false, true })
    {
        installOldBundles();
        DyingFiles counter;
        pass (newArchives, uninstall, counter);
        ASSERT_GT (counter.steps, uninstall ? 6 : 30);
        perPass.add ((uninstall ? "uninstall " : "install ") + juce::String (counter.steps));

        for (int k = 1; k <= counter.steps; ++k)
        {
            SCOPED_TRACE ((uninstall ? "uninstall, death at step " : "install, death at step ") + juce::String (k));
            installOldBundles();
            ASSERT_TRUE (diesAt (k, uninstall));
            ++tried;

            recoverAtStart ("Strandline2", destinations());

            for (int i = 0; i < 3; ++i)
            {
                const auto now = snapshotTree (bundle (i));
                const auto whole = now == oldTrees[(size_t) i] || (uninstall ? now.empty() : now == newTrees[(size_t) i]);
                EXPECT_TRUE (whole) << formatNames[i] << " is neither the old nor the " << (uninstall ? "removed" : "new") << " bundle";
            }

            EXPECT_EQ (snapshotTree (destinations()[0].getChildFile ("Other.vst3")), other);

            ASSERT_TRUE (pass (newArchives, false).succeeded());
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ (destinations()[(size_t) i].getNumberOfChildFiles (juce::File::findFilesAndDirectories), i == 0 ? 2 : 1)
                    << formatNames[i] << ": a leftover survived a clean pass";
        }
    }

    // Every step of a pass over all three formats, install and uninstall.
    RecordProperty ("crash_points", tried);
    std::cout << "crash points tried: " << tried << " (" << perPass.joinIntoString (", ") << ")" << std::endl;
}
