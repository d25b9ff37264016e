// Links at and below the destination: served through at the destination, never followed below it.
#include "install/InstallPassFixture.h"

#include <atomic>
#include <thread>

using namespace kv::fs;
using namespace kv::install;

using namespace kv::test;

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

namespace
{
    // A user who owns the folder above a destination swaps it for a link to another folder that
    // holds the same names, and the pass then fails.
    struct ParentSwap
    {
        juce::File parent, aside, other;

        void swapInLink() const
        {
            ::rename (parent.getFullPathName().toRawUTF8(), aside.getFullPathName().toRawUTF8());
            ::symlink (other.getFullPathName().toRawUTF8(), parent.getFullPathName().toRawUTF8());
        }

        void putBack() const
        {
            ::unlink (parent.getFullPathName().toRawUTF8());
            ::rename (aside.getFullPathName().toRawUTF8(), parent.getFullPathName().toRawUTF8());
        }
    };

    // Every new file is refused, as on a full disk; the first refusal swaps the parent first.
    struct SwapThenRefuseWrites final : public FileOperations
    {
        SwapThenRefuseWrites() { holdRetryMs = 0; }
        const ParentSwap* swap = nullptr;

        std::unique_ptr<HandleOutputStream> createFile (const FolderHandle&, const juce::String&, FsStatus& status) override
        {
            if (swap != nullptr)
                std::exchange (swap, nullptr)->swapInLink();
            status = FsStatus (FsStatus::noSpace, kv::fs::SystemError::posix (ENOSPC));
            return nullptr;
        }
    };
}

TEST_F (InstallPass, AFailedPassRemovesOnlyTheFoldersItMadeWhateverTheirParentBecame)
{
    ParentSwap swap { sandbox.root().getChildFile ("user"), sandbox.root().getChildFile ("user.aside"), sandbox.root().getChildFile ("other") };
    ASSERT_TRUE (swap.parent.createDirectory());
    ASSERT_TRUE (swap.other.getChildFile ("Common/VST3").createDirectory());
    kv::test::writeText (swap.other.getChildFile ("keep.txt"), "user data");
    const auto otherBefore = snapshotTree (swap.other);

    auto r = request ({ true, false, false });
    r.destinationFolders[0] = swap.parent.getChildFile ("Common/VST3");

    // Swapped at the failure itself: a rollback that reopens its folders by path always goes wrong.
    {
        SwapThenRefuseWrites files;
        files.swap = &swap;
        EXPECT_EQ (runInstallPass (r, files).outcomes[0].problem, InstallProblem::diskFull);
        EXPECT_EQ (snapshotTree (swap.other), otherBefore);
        EXPECT_EQ (swap.aside.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0) << "what the pass made stays";
        swap.putBack();
    }

    // Swapped back and forth by another thread the whole time.
    for (int attempt = 0; attempt < 25; ++attempt)
    {
        std::atomic<bool> done { false };
        std::thread racer ([&]
                           {
                               while (! done)
                               {
                                   swap.swapInLink();
                                   std::this_thread::yield();
                                   swap.putBack();
                                   std::this_thread::yield();
                               } });

        SwapThenRefuseWrites files;
        runInstallPass (r, files);
        done = true;
        racer.join();

        ASSERT_EQ (snapshotTree (swap.other), otherBefore) << "attempt " << attempt;
        swap.parent.getChildFile ("Common").deleteRecursively();
    }
}
