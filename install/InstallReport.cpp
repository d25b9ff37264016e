#include "install/InstallReport.h"

#include "identity/Formats.h"

namespace kv::install
{
    bool InstallReport::succeeded() const
    {
        if (anotherInstallerRunning || lockUnavailable)
            return false;

        for (const auto& outcome : outcomes)
            if (! outcome.succeeded())
                return false;

        return true;
    }

    juce::String InstallReport::headline() const
    {
        if (succeeded())
            return "SUCCESS!";

        return uninstall ? "UNINSTALL FAILED" : "INSTALL FAILED";
    }

    juce::String describeProblem (InstallProblem problem, bool uninstall)
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
            default: return "an unknown error";
        }
    }

    static juce::String inUseNote (const FormatOutcome& outcome, bool uninstall)
    {
        if (outcome.stillInUse == juce::File())
            return {};

        juce::String note = uninstall ? " Some of its files are still in use by a program; " : " Its old copy is still in use by a program; ";

        if (! outcome.hiddenFromHosts)
            return note + "a plug-in host may still load it from " + outcome.stillInUse.getFullPathName()
                   + ". Close every program that uses the plug-in and run the installer again.";

        // Not in use at all: no wait and no restart removes what permission is refused for.
        if (outcome.removalRefused)
            return juce::String (uninstall ? " Some of its files" : " Its old copy")
                   + " could not be deleted: administrators are not allowed to (a locked file or a security program). "
                   + (uninstall ? "They are" : "It is") + " hidden from plug-in hosts.";

        note << (uninstall ? "they are" : "it is") << " hidden from plug-in hosts and will be deleted "
             << (outcome.removalScheduled ? "when Windows restarts." : "the next time the installer starts.");
        return note;
    }

    juce::String describeKeptCopies (const juce::Array<juce::File>& copies)
    {
        if (copies.isEmpty())
            return {};

        juce::StringArray paths;
        for (const auto& copy : copies)
            paths.add (copy.getFullPathName());

        return "An earlier copy could not be put back and is kept at " + paths.joinIntoString (", ") + ".";
    }

    static juce::String keptCopiesNote (const FormatOutcome& outcome)
    {
        return outcome.oldCopiesKept.isEmpty() ? juce::String() : " " + describeKeptCopies (outcome.oldCopiesKept);
    }

    static juce::String failureLine (const FormatOutcome& outcome, bool uninstall)
    {
        auto line = formatNames[outcome.formatIndex] + (uninstall ? " was not removed: " : " was not installed: ")
                    + describeProblem (outcome.problem, uninstall);

        if (outcome.detail.isNotEmpty())
            line << " (" << outcome.detail << ")";

        if (outcome.previousCopyAt != juce::File())
            line << ". The copy that was there could not be put back; it is now at " << outcome.previousCopyAt.getFullPathName()
                 << " and the installer puts it back the next time it starts.";
        else if (uninstall)
            line << ". It is kept as it was.";
        else
            line << ". Any copy already there is kept as it was.";

        line << keptCopiesNote (outcome);

        if (outcome.leftoverAt != juce::File())
            line << (outcome.leftoverHidden ? " What this pass unpacked could not all be removed yet; it is hidden from plug-in hosts and goes the next time the installer starts."
                                            : " What this pass unpacked could not all be removed; a plug-in host may still load it from "
                                                  + outcome.leftoverAt.getFullPathName() + ".");
        return line;
    }

    // What to do, once for each kind of failure there was.
    static juce::StringArray adviceFor (const std::vector<FormatOutcome>& outcomes)
    {
        const auto any = [&outcomes] (std::initializer_list<InstallProblem> problems)
        {
            for (const auto& outcome : outcomes)
                for (const auto problem : problems)
                    if (outcome.problem == problem)
                        return true;
            return false;
        };

        juce::StringArray advice;

        if (any ({ InstallProblem::bundleInUse, InstallProblem::writeFailed }))
            advice.add ("Close any program that uses the plug-in and run the installer again.");
        if (any ({ InstallProblem::accessDenied }))
            advice.add ("Administrators are not allowed to change these files (by their permissions, a locked file or a security "
                        "program): allow it, or choose another folder in SETTINGS, then run the installer again.");
        if (any ({ InstallProblem::noDestination, InstallProblem::destinationNotCreatable }))
            advice.add ("Choose a folder you can write to in SETTINGS and run the installer again.");
        if (any ({ InstallProblem::archiveDamaged, InstallProblem::archiveUnsafe }))
            advice.add ("Download the installer again.");

        return advice;
    }

    juce::String InstallReport::details() const
    {
        if (lockUnavailable)
            return "The installer could not make sure that no other installer works at the same time. Nothing was changed: restart the computer, then run this installer again.";

        if (anotherInstallerRunning)
            return "Another installer is running. Nothing was changed: let it finish, then run this installer again.";

        juce::StringArray lines;

        for (const auto& outcome : outcomes)
        {
            if (outcome.succeeded())
                lines.add (formatNames[outcome.formatIndex] + (uninstall ? " was removed." : " was installed.") + inUseNote (outcome, uninstall)
                           + (uninstall ? keptCopiesNote (outcome) : juce::String()));
            else
                lines.add (failureLine (outcome, uninstall));
        }

        lines.addArray (adviceFor (outcomes));
        return lines.joinIntoString ("\n");
    }
}
