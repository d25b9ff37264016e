#pragma once

#include "install/Install.h"

// The sentences of the log an unattended run (or the window, with /LOG) writes for support:
// the same facts and, where the screen says it too, the same words. The log adds the time.
namespace kv::messages::log_lines
{
    struct RunFacts
    {
        juce::String installerVersion, productName, productVersion, commandLine;
        juce::String operatingSystem, account;
        bool elevated = false;
        bool silent = false;
        bool uninstall = false;
    };

    juce::StringArray header (const RunFacts& facts);

    juce::String invalidParameter (const juce::String& argument, const juce::String& why);
    juce::String ignoredArgument (const juce::String& argument);

    juce::String settingsFileUsed (const juce::File& settingsFile, bool exists);
    juce::String destinationSaved (int formatIndex, const juce::String& path);
    juce::String destinationForThisRun (int formatIndex, const juce::String& path);
    juce::String destinationNotSaved (int formatIndex, const juce::String& path, const juce::File& settingsFile, bool fileRefused);
    juce::String destinationOf (int formatIndex, const juce::File& folder);

    juce::StringArray recovery (const install::RecoveryResult& recovered);

    // What the status read found before the pass.
    juce::String found (int formatIndex, const juce::File& bundle, bool installed, const juce::String& version);
    juce::String newerKept (int formatIndex, const juce::String& installedVersion, const juce::String& carriedVersion);
    juce::String newerReplaced (int formatIndex, const juce::String& installedVersion, const juce::String& carriedVersion);
    juce::String notChosen (int formatIndex);
    juce::String installing (int formatIndex, const juce::String& archiveName, size_t archiveBytes, const juce::File& folder);
    juce::String removing (int formatIndex, const juce::File& bundle);

    // What the pass did for one format, with what is now in the bundle when it was installed.
    juce::String outcome (const install::FormatOutcome& outcome, bool uninstall, const juce::File& bundle, int files, juce::int64 bytes);
    juce::StringArray copyFates (const install::InstallReport& report);
    juce::String anotherInstaller (int waitedMs);
    juce::String lockUnavailable();
    juce::String nothingToDo();

    juce::String entryWritten (const juce::String& key, const juce::File& keptCopy);
    juce::String entryRemoved (const juce::String& key, const juce::File& keptCopy);
    juce::String detectionWritten (const juce::String& key);
    juce::String detectionRemoved (const juce::String& key);
    juce::String registryRefused (const juce::String& key);
    juce::String keptCopyFailed (const juce::File& keptCopy);

    juce::String result (int exitCode);
}
