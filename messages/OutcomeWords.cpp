#include "messages/OutcomeWords.h"

#include "identity/Formats.h"
#include "messages/CopyFates.h"
#include "messages/ProblemWords.h"

namespace kv::messages
{
    using install::InstallProblem;
    using install::InstallReport;

    namespace
    {
        juce::StringArray newerCopySentences (const InstallReport& report, const NewerCopies& newer)
        {
            juce::StringArray sentences;

            if (report.uninstall)
                return sentences;

            for (const auto& outcome : report.outcomes)
            {
                if (! juce::isPositiveAndBelow (outcome.formatIndex, numFormats))
                    continue;

                const auto& version = newer.installedVersions[(size_t) outcome.formatIndex];

                if (outcome.succeeded() && version.isNotEmpty())
                    sentences.add (formatNames[outcome.formatIndex] + " " + version + " was replaced with the older " + newer.carriedVersion + ".");
            }

            return sentences;
        }

        // What to do, once for each kind of advice, the likeliest first.
        juce::StringArray adviceLines (const InstallReport& report)
        {
            juce::StringArray advice;

            for (const auto problem : { InstallProblem::bundleInUse, InstallProblem::writeFailed, InstallProblem::accessDenied,
                                        InstallProblem::diskFull, InstallProblem::deviceNotReady, InstallProblem::noDestination,
                                        InstallProblem::destinationNotCreatable, InstallProblem::folderGone, InstallProblem::archiveDamaged,
                                        InstallProblem::archiveUnsafe })
                for (const auto& outcome : report.outcomes)
                    if (outcome.problem == problem)
                        advice.addIfNotAlreadyThere (adviceFor (problem));

            advice.removeEmptyStrings();
            return advice;
        }
    }

    juce::String headline (const InstallReport& report)
    {
        if (report.succeeded())
            return "SUCCESS!";

        return report.uninstall ? "UNINSTALL FAILED" : "INSTALL FAILED";
    }

    juce::String successNote (const InstallReport& report, const NewerCopies& newer)
    {
        auto sentences = newerCopySentences (report, newer);
        sentences.addArray (copyFateSentences (report));
        return sentences.joinIntoString ("\n");
    }

    juce::String failureDetails (const InstallReport& report, const NewerCopies& newer)
    {
        if (report.lockUnavailable)
            return "The installer could not make sure that no other installer works at the same time. Nothing was changed: restart the computer, then run this installer again.";

        if (report.anotherInstallerRunning)
            return "Another installer is running. Nothing was changed: let it finish, then run this installer again.";

        juce::StringArray lines;

        for (const auto& outcome : report.outcomes)
            lines.add (outcome.succeeded() ? formatNames[outcome.formatIndex] + (report.uninstall ? " was removed." : " was installed.")
                                           : failureLine (outcome, report.uninstall));

        lines.addArray (copyFateSentences (report));
        lines.addArray (adviceLines (report));
        lines.addArray (newerCopySentences (report, newer));
        return lines.joinIntoString ("\n");
    }

    juce::String outcomeWords (const InstallReport& report, const NewerCopies& newer)
    {
        return report.succeeded() ? successNote (report, newer) : failureDetails (report, newer);
    }
}
