#include "install/InstallReport.h"

#include "identity/ProductIdentity.h"

bool InstallReport::succeeded() const
{
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
        case InstallProblem::oldCopyLeftBehind: return "parts of the old copy could not be removed";
        default: return "an unknown error";
    }
}

juce::String InstallReport::details() const
{
    juce::StringArray lines;
    bool anyFailure = false, anyDamage = false, anyInUse = false, anyFolder = false;

    for (const auto& outcome : outcomes)
    {
        const auto name = formatNames[outcome.formatIndex];

        if (outcome.succeeded())
        {
            lines.add (name + (uninstall ? " was removed." : " was installed."));
            continue;
        }

        anyFailure = true;
        anyDamage |= outcome.problem == InstallProblem::archiveDamaged || outcome.problem == InstallProblem::archiveUnsafe;
        anyInUse |= outcome.problem == InstallProblem::bundleInUse || outcome.problem == InstallProblem::writeFailed
                    || outcome.problem == InstallProblem::oldCopyLeftBehind;
        anyFolder |= outcome.problem == InstallProblem::noDestination || outcome.problem == InstallProblem::destinationNotCreatable;

        auto line = name + (uninstall ? " was not removed: " : " was not installed: ") + describeProblem (outcome.problem, uninstall);

        if (outcome.detail.isNotEmpty())
            line << " (" << outcome.detail << ")";

        if (! uninstall && outcome.problem != InstallProblem::oldCopyLeftBehind)
            line << ". Any copy already there is kept as it was.";
        else
            line << ".";

        lines.add (line);
    }

    if (anyFailure)
    {
        if (anyInUse)
            lines.add ("Close any program that uses the plug-in and run the installer again.");
        if (anyFolder)
            lines.add ("Choose a folder you can write to in SETTINGS and run the installer again.");
        if (anyDamage)
            lines.add ("Download the installer again.");
    }

    return lines.joinIntoString ("\n");
}
