#include "command_line/PassLog.h"

#include "identity/BundleLocation.h"
#include "identity/ProductConstants.h"
#include "messages/LogLines.h"
#include "platform/ProcessAccount.h"

namespace kv::command_line
{
    namespace lines = messages::log_lines;

    void logHeader (RunLog& log, const juce::String& commandLine, bool silent, bool uninstall)
    {
        lines::RunFacts facts;
        facts.installerVersion = applicationVersion;
        facts.productName = product::bundleBaseName;
        facts.productVersion = product::version;
        facts.commandLine = commandLine;
        facts.operatingSystem = platform::operatingSystemDescription();
        facts.account = platform::accountName();
        facts.elevated = platform::isElevated();
        facts.silent = silent;
        facts.uninstall = uninstall;
        log.add (lines::header (facts));
    }

    void logBeforePass (RunLog& log, const install::InstallRequest& request, const FormatArray<FormatState>& before)
    {
        for (int i = 0; i < numFormats; ++i)
        {
            const auto bundle = bundleFileFor (request.destinationFolders[(size_t) i], request.productName, i);
            const auto& state = before[(size_t) i];
            log.add (lines::destinationOf (i, request.destinationFolders[(size_t) i]));
            log.add (lines::found (i, bundle, state.status != FormatStatus::notInstalled, state.version));

            if (! request.selected[(size_t) i])
                continue;

            if (request.uninstall)
                log.add (lines::removing (i, bundle));
            else
                log.add (lines::installing (i, formatTable[i].archiveFileName, request.archives[(size_t) i].size, request.destinationFolders[(size_t) i]));
        }
    }

    static void countBundle (const juce::File& bundle, int& files, juce::int64& bytes)
    {
        if (bundle.existsAsFile())
        {
            files = 1;
            bytes = bundle.getSize();
            return;
        }

        for (const auto& entry : juce::RangedDirectoryIterator (bundle, true, "*", juce::File::findFiles))
        {
            ++files;
            bytes += entry.getFileSize();
        }
    }

    void logAfterPass (RunLog& log, const install::InstallRequest& request, const install::InstallReport& report)
    {
        if (report.anotherInstallerRunning)
            log.add (lines::anotherInstaller (request.lockWaitMs));

        if (report.lockUnavailable)
            log.add (lines::lockUnavailable());

        for (const auto& outcome : report.outcomes)
        {
            const auto bundle = bundleFileFor (request.destinationFolders[(size_t) outcome.formatIndex], request.productName, outcome.formatIndex);
            int files = 0;
            juce::int64 bytes = 0;

            if (outcome.succeeded() && ! report.uninstall)
                countBundle (bundle, files, bytes);

            log.add (lines::outcome (outcome, report.uninstall, bundle, files, bytes));
        }

        log.add (lines::copyFates (report));
    }

    void logRegistration (RunLog& log, const registration::Result& result)
    {
        const auto detection = registration::detectionKey(), entry = registration::uninstallKey();

        if (! result.detectionWritten)
            log.add (lines::registryRefused (detection));
        else
            log.add (result.anyInstalled ? lines::detectionWritten (detection) : lines::detectionRemoved (detection));

        if (! result.keptCopyMade)
            log.add (lines::keptCopyFailed (registration::keptInstaller()));
        else if (! result.entryWritten)
            log.add (lines::registryRefused (entry));
        else
            log.add (result.anyInstalled ? lines::entryWritten (entry, registration::keptInstaller()) : lines::entryRemoved (entry, registration::keptInstaller()));
    }
}
