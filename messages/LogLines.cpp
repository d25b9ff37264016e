#include "messages/LogLines.h"

#include "identity/Formats.h"
#include "install/ExitCode.h"
#include "messages/CopyFates.h"
#include "messages/ProblemWords.h"
#include "messages/StartupNotice.h"

namespace kv::messages::log_lines
{
    static juce::String nameOf (int formatIndex)
    {
        return formatNames[formatIndex];
    }

    static juce::String pathOf (const juce::File& item)
    {
        return "\"" + item.getFullPathName() + "\"";
    }

    juce::StringArray header (const RunFacts& facts)
    {
        return { "Log of kv_installer " + facts.installerVersion + ", installing " + facts.productName + " " + facts.productVersion + ".",
                 "Command line: " + (facts.commandLine.isNotEmpty() ? facts.commandLine : juce::String ("(none)")),
                 "System: " + facts.operatingSystem + "; account " + facts.account + ", " + (facts.elevated ? "elevated" : "not elevated") + ".",
                 juce::String (facts.silent ? "Unattended " : "Window ") + (facts.uninstall ? "uninstall." : "install.") };
    }

    juce::String invalidParameter (const juce::String& argument, const juce::String& why)
    {
        return "Invalid parameter " + argument + ": " + why + ". Nothing was changed.";
    }

    juce::String ignoredArgument (const juce::String& argument)
    {
        return "Ignored the argument " + argument + ", which this installer does not know.";
    }

    juce::String settingsFileUsed (const juce::File& settingsFile, bool exists)
    {
        return "Settings file " + pathOf (settingsFile) + (exists ? "." : ": not there (its folder is missing), so folders given on the command line hold for this run only.");
    }

    juce::String destinationSaved (int formatIndex, const juce::String& path)
    {
        return nameOf (formatIndex) + " folder set to \"" + path + "\" in the settings file.";
    }

    juce::String destinationForThisRun (int formatIndex, const juce::String& path)
    {
        return nameOf (formatIndex) + " folder set to \"" + path + "\" for this run; there is no settings file to keep it in.";
    }

    juce::String destinationNotSaved (int formatIndex, const juce::String& path, const juce::File& settingsFile, bool fileRefused)
    {
        return nameOf (formatIndex) + " folder \"" + path + "\" could not be saved: " + (fileRefused ? "the settings file " + pathOf (settingsFile) + " cannot be changed (read-only or locked)" : "its folder " + pathOf (settingsFile.getParentDirectory()) + " refused the new file") + ". Nothing was changed.";
    }

    juce::String destinationOf (int formatIndex, const juce::File& folder)
    {
        return nameOf (formatIndex) + " folder: " + (folder == juce::File() ? juce::String ("(none set)") : pathOf (folder)) + ".";
    }

    juce::StringArray recovery (const install::RecoveryResult& recovered)
    {
        juce::StringArray lines;

        if (recovered.restored > 0)
            lines.add ("Start-up check: put back " + juce::String (recovered.restored) + " copy or copies an interrupted pass had moved aside.");
        if (recovered.removed > 0)
            lines.add ("Start-up check: removed " + juce::String (recovered.removed) + " leftover(s) of an interrupted pass.");
        if (recovered.stillInUse > 0)
            lines.add ("Start-up check: " + juce::String (recovered.stillInUse) + " leftover(s) still in use, hidden from hosts, to go later.");

        if (const auto notice = startupNotice (recovered); notice.isNotEmpty())
            lines.add ("Start-up check: " + notice);

        return lines;
    }

    juce::String found (int formatIndex, const juce::File& bundle, bool installed, const juce::String& version)
    {
        if (! installed)
            return nameOf (formatIndex) + ": not installed (" + pathOf (bundle) + " is not there).";

        return nameOf (formatIndex) + ": found " + pathOf (bundle) + ", version " + (version.isNotEmpty() ? version : juce::String ("unknown")) + ".";
    }

    juce::String newerKept (int formatIndex, const juce::String& installedVersion, const juce::String& carriedVersion)
    {
        return nameOf (formatIndex) + ": the installed version " + installedVersion + " is newer than " + carriedVersion
               + ", so it was kept as it is (/ALLOWDOWNGRADE replaces it).";
    }

    juce::String newerReplaced (int formatIndex, const juce::String& installedVersion, const juce::String& carriedVersion)
    {
        return nameOf (formatIndex) + ": the installed version " + installedVersion + " is newer than " + carriedVersion + "; replacing it as /ALLOWDOWNGRADE asks.";
    }

    juce::String notChosen (int formatIndex)
    {
        return nameOf (formatIndex) + ": not chosen, left as it is.";
    }

    juce::String installing (int formatIndex, const juce::String& archiveName, size_t archiveBytes, const juce::File& folder)
    {
        return nameOf (formatIndex) + ": installing from the archive " + archiveName + " (" + juce::String ((juce::int64) archiveBytes) + " bytes) into " + pathOf (folder) + ".";
    }

    juce::String removing (int formatIndex, const juce::File& bundle)
    {
        return nameOf (formatIndex) + ": removing " + pathOf (bundle) + ".";
    }

    juce::String outcome (const install::FormatOutcome& outcome, bool uninstall, const juce::File& bundle, int files, juce::int64 bytes)
    {
        if (! outcome.succeeded())
            return "Error: " + failureLine (outcome, uninstall);

        if (uninstall)
            return nameOf (outcome.formatIndex) + ": removed " + pathOf (bundle) + ".";

        return nameOf (outcome.formatIndex) + ": installed " + pathOf (bundle) + ", " + juce::String (files) + (files == 1 ? " file, " : " files, ") + juce::String (bytes) + " bytes written.";
    }

    juce::StringArray copyFates (const install::InstallReport& report)
    {
        return copyFateSentences (report);
    }

    juce::String anotherInstaller (int waitedMs)
    {
        return "Error: another installer kept working on this product for " + juce::String (waitedMs / 1000.0, 1) + " seconds; nothing was changed. Run this installer again when it has finished.";
    }

    juce::String lockUnavailable()
    {
        return "Error: the lock that keeps two installers apart could not be made; nothing was changed.";
    }

    juce::String nothingToDo()
    {
        return "Nothing to install or remove.";
    }

    juce::String entryWritten (const juce::String& key, const juce::File& keptCopy)
    {
        return "Apps & Features entry HKLM\\" + key + " written; it uninstalls with " + pathOf (keptCopy) + ".";
    }

    juce::String entryRemoved (const juce::String& key, const juce::File& keptCopy)
    {
        return "Apps & Features entry HKLM\\" + key + " and the kept installer " + pathOf (keptCopy) + " removed: no format is installed.";
    }

    juce::String detectionWritten (const juce::String& key)
    {
        return "Detection key HKLM\\" + key + " written from what is on disk.";
    }

    juce::String detectionRemoved (const juce::String& key)
    {
        return "Detection key HKLM\\" + key + " removed: no format is installed.";
    }

    juce::String registryRefused (const juce::String& key)
    {
        return "Error: the registry key HKLM\\" + key + " could not be written.";
    }

    juce::String keptCopyFailed (const juce::File& keptCopy)
    {
        return "Error: the installer could not be kept at " + pathOf (keptCopy) + " for its uninstall entry.";
    }

    static juce::String meaning (int exitCode)
    {
        switch (exitCode)
        {
            case install::exitSuccess: return "success";
            case install::exitRestartRequired: return "success; an old copy still in use goes when Windows next starts";
            case install::exitAnotherInstallRunning: return "another installer is running";
            case install::exitInvalidParameter: return "invalid parameter";
            case install::exitNewerVersionKept: return "a newer installed version was kept";
            case install::exitSharingViolation: return "a plug-in file is in use by a program";
            case install::exitDiskFull: return "the disk is full";
            default: return "failed";
        }
    }

    juce::String result (int exitCode)
    {
        return "Result: " + meaning (exitCode) + ". Exit code " + juce::String (exitCode) + ".";
    }
}
