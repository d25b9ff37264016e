#include <gtest/gtest.h>

#include "messages/Messages.h"

#include <cerrno>

using kv::fs::SystemError;
using kv::install::FormatOutcome;
using kv::install::InstallProblem;
using kv::install::InstallReport;

namespace
{
    FormatOutcome inUse (int formatIndex, bool hidden = true, bool scheduled = false, bool refused = false)
    {
        FormatOutcome outcome;
        outcome.formatIndex = formatIndex;
        outcome.stillInUse = juce::File::getCurrentWorkingDirectory().getChildFile ("Strandline2.kv-old-" + juce::String (formatIndex));
        outcome.hiddenFromHosts = hidden;
        outcome.removalScheduled = scheduled;
        outcome.removalRefused = refused;
        return outcome;
    }

    FormatOutcome failed (int formatIndex, InstallProblem problem, SystemError cause = {})
    {
        FormatOutcome outcome;
        outcome.formatIndex = formatIndex;
        outcome.problem = problem;
        outcome.detail = "/where/it/happened";
        outcome.systemError = cause;
        return outcome;
    }
}

TEST (OutcomeWords, SaysHiddenOnlyWhereEveryLoadableNameWasRenamedAndWhereTheOtherMayStillBeLoaded)
{
    InstallReport report;
    const auto aax = inUse (2, false);
    report.outcomes = { inUse (0), aax };

    const auto words = kv::messages::successNote (report);
    EXPECT_TRUE (words.contains ("The old copy of VST3 is still in use by a program; it is hidden from plug-in hosts")) << words;
    EXPECT_TRUE (words.contains ("The old copy of AAX is still in use by a program; it may still be loaded by plug-in hosts from "
                                 + aax.stillInUse.getFullPathName() + ". Close every program"))
        << words;
}

// Each fate of an old copy is one sentence, the same in the success view and beside a format
// that failed in the failure view: the path where a copy may still be loaded, and the advice
// where deletion was refused, in both.
TEST (OutcomeWords, TheFailureViewTellsTheFateOfACopyInTheSuccessViewsOwnWords)
{
    const FormatOutcome fates[] = { inUse (0), inUse (0, true, true), inUse (0, false), inUse (0, true, false, true) };

    for (const auto& fate : fates)
    {
        InstallReport succeeded;
        succeeded.outcomes = { fate };
        const auto sentence = kv::messages::successNote (succeeded);
        ASSERT_TRUE (sentence.isNotEmpty());

        InstallReport mixed;
        mixed.outcomes = { fate, failed (1, InstallProblem::writeFailed) };
        const auto details = kv::messages::failureDetails (mixed);
        EXPECT_TRUE (details.contains (sentence)) << details << "\n--- the success view says:\n"
                                                  << sentence;
        EXPECT_TRUE (details.startsWith ("VST3 was installed.\nCLAP was not installed")) << details;
    }

    InstallReport refused;
    refused.outcomes = { inUse (0, true, false, true) };
    EXPECT_TRUE (kv::messages::successNote (refused).contains ("allow the change and run the installer again"));
    InstallReport loadable;
    loadable.outcomes = { inUse (0, false) };
    EXPECT_TRUE (kv::messages::successNote (loadable).contains (loadable.outcomes[0].stillInUse.getFullPathName()));
}

// What the system said, as support searches for it, and the advice that fits the cause.
TEST (OutcomeWords, TheSystemsErrorIsNamedAndTheAdviceFitsTheCause)
{
    struct Row
    {
        SystemError error;
        const char* text;
    };
    const Row rows[] = {
        { {}, "" },
        { SystemError::posix (ENOSPC), "ENOSPC" },
        { SystemError::posix (EBUSY), "EBUSY" },
        { SystemError::win32 (32), "error 32, ERROR_SHARING_VIOLATION" },
        { SystemError::win32 (112), "error 112, ERROR_DISK_FULL" },
        { SystemError::win32 (99999), "error 99999" },
        { SystemError::ntstatus ((long) 0xC0000056L), "NTSTATUS 0xC0000056, STATUS_DELETE_PENDING" },
        { SystemError::ntstatus ((long) 0xC0001234L), "NTSTATUS 0xC0001234" },
    };
    for (const auto& row : rows)
        EXPECT_EQ (kv::messages::systemErrorText (row.error), row.text);

    struct Advice
    {
        InstallProblem problem;
        const char* says;
    };
    const Advice advice[] = {
        { InstallProblem::diskFull, "Free some space on the drive" },
        { InstallProblem::deviceNotReady, "Connect the drive" },
        { InstallProblem::folderGone, "Choose a folder you can write to in SETTINGS" },
        { InstallProblem::bundleInUse, "Close any program that uses the plug-in" },
    };
    for (const auto& row : advice)
    {
        InstallReport report;
        report.outcomes = { failed (0, row.problem, SystemError::win32 (112)) };
        const auto words = kv::messages::failureDetails (report);
        EXPECT_TRUE (words.contains (row.says)) << words;
        EXPECT_TRUE (words.contains ("(/where/it/happened; error 112, ERROR_DISK_FULL)")) << words;
        EXPECT_EQ (words.contains ("Close any program"), row.problem == InstallProblem::bundleInUse) << words;
    }
}

TEST (OutcomeWords, TheStartupNoticeSaysWhereKeptCopiesAreAndWhatWasLeftForTheNextStart)
{
    kv::install::RecoveryResult recovered;
    EXPECT_EQ (kv::messages::startupNotice (recovered), "");

    recovered.oldCopiesKept.add (juce::File::getCurrentWorkingDirectory().getChildFile ("Strandline2.vst3.kv-old"));
    recovered.leftForNextStart = true;
    const auto notice = kv::messages::startupNotice (recovered);
    EXPECT_TRUE (notice.startsWith ("An earlier copy could not be put back and is kept at " + recovered.oldCopiesKept[0].getFullPathName() + "."))
        << notice;
    EXPECT_TRUE (notice.endsWith ("put right the next time this installer starts.")) << notice;
}
