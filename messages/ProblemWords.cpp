#include "messages/ProblemWords.h"

#include "identity/Formats.h"
#include "messages/ArchiveWords.h"
#include "messages/CopyFates.h"
#include "messages/SystemErrorText.h"

namespace kv::messages
{
    using install::InstallProblem;

    juce::String problemPhrase (InstallProblem problem, bool uninstall)
    {
        switch (problem)
        {
            case InstallProblem::none: return {};
            case InstallProblem::noDestination: return "no install folder is set for this format";
            case InstallProblem::destinationNotCreatable: return "its install folder could not be created";
            case InstallProblem::bundleInUse: return uninstall ? "a file of it is in use or cannot be removed"
                                                               : "the installed copy is in use or cannot be replaced";
            case InstallProblem::writeFailed: return "a file could not be written to its install folder";
            case InstallProblem::archiveDamaged: return "the installer's archive for it is damaged";
            case InstallProblem::archiveUnsafe: return "the installer's archive for it holds unsafe entries";
            case InstallProblem::notEnoughMemory: return "this computer has too little memory to unpack it";
            case InstallProblem::accessDenied: return "the installer was refused permission to change it";
            case InstallProblem::replacedByAnother: return "another item took its place as it was being installed";
            case InstallProblem::diskFull: return "the drive that holds its install folder is full";
            case InstallProblem::deviceNotReady: return "the drive that holds its install folder is not ready or was disconnected";
            case InstallProblem::folderGone: return "its install folder, or a folder in it, was removed or moved while the installer worked";
            default: return "an unknown error";
        }
    }

    juce::String adviceFor (InstallProblem problem)
    {
        switch (problem)
        {
            case InstallProblem::bundleInUse:
            case InstallProblem::writeFailed: return "Close any program that uses the plug-in and run the installer again.";
            case InstallProblem::accessDenied:
                return "Administrators are not allowed to change these files (by their permissions, a locked file or a security "
                       "program): allow it, or choose another folder in SETTINGS, then run the installer again.";
            case InstallProblem::noDestination:
            case InstallProblem::destinationNotCreatable:
            case InstallProblem::folderGone: return "Choose a folder you can write to in SETTINGS and run the installer again.";
            case InstallProblem::archiveDamaged:
            case InstallProblem::archiveUnsafe: return "Download the installer again.";
            case InstallProblem::diskFull:
                return "Free some space on the drive that holds the install folder, or choose a folder on another drive in SETTINGS, "
                       "then run the installer again.";
            case InstallProblem::deviceNotReady:
                return "Connect the drive that holds the install folder, or choose another folder in SETTINGS, then run the installer "
                       "again.";
            case InstallProblem::none:
            case InstallProblem::notEnoughMemory:
            case InstallProblem::replacedByAnother:
            default: return {};
        }
    }

    // How much memory unpacking takes against what the machine has is said in full; of a damaged
    // or unsafe archive the entry is enough, as its ZIP particulars mean nothing to a musician.
    static juce::String archiveWhy (const install::FormatOutcome& outcome)
    {
        return outcome.problem == InstallProblem::notEnoughMemory ? archiveReason (outcome.archiveFinding) : juce::String();
    }

    // "(path; ENOSPC)": where it happened and what the system said, whichever there are.
    static juce::String whereAndWhy (const install::FormatOutcome& outcome)
    {
        juce::StringArray parts { outcome.detail, archiveWhy (outcome), systemErrorText (outcome.systemError) };
        parts.removeEmptyStrings();
        return parts.isEmpty() ? juce::String() : " (" + parts.joinIntoString ("; ") + ")";
    }

    juce::String failureLine (const install::FormatOutcome& outcome, bool uninstall)
    {
        auto line = formatNames[outcome.formatIndex] + (uninstall ? " was not removed: " : " was not installed: ")
                    + problemPhrase (outcome.problem, uninstall) + whereAndWhy (outcome);

        if (outcome.previousCopyAt != juce::File())
            line << ". The copy that was there could not be put back; it is now at " << outcome.previousCopyAt.getFullPathName()
                 << " and the installer puts it back the next time it starts.";
        else if (uninstall)
            line << ". It is kept as it was.";
        else
            line << ". Any copy already there is kept as it was.";

        if (! outcome.oldCopiesKept.isEmpty())
            line << " " << keptCopiesSentence (outcome.oldCopiesKept);

        if (outcome.leftoverAt != juce::File())
            line << (outcome.leftoverHidden ? " What this pass unpacked could not all be removed yet; it is hidden from plug-in hosts and goes the next time the installer starts."
                                            : " What this pass unpacked could not all be removed; a plug-in host may still load it from "
                                                  + outcome.leftoverAt.getFullPathName() + ".");
        return line;
    }
}
