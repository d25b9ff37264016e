#include "command_line/SilentRun.h"

#include "command_line/PassLog.h"
#include "identity/BundleLocation.h"
#include "identity/ProductConstants.h"
#include "install/ExitCode.h"
#include "main_screen/EmbeddedArchives.h"
#include "main_screen/InstalledFormats.h"
#include "messages/LogLines.h"
#include "platform/PlatformFolders.h"
#include "settings/DestinationSettings.h"

namespace kv::command_line
{
    namespace lines = messages::log_lines;

    static int finish (RunLog& log, int exitCode)
    {
        log.add (lines::result (exitCode));
        return exitCode;
    }

    // The settings file keeps Windows' spelling, whatever separators were typed.
    static juce::String spelledForSettings (const juce::String& path)
    {
        const auto windows = platform::windowsAbsolutePath (path);
        return windows.isNotEmpty() ? windows : platform::fileFromPath (path).getFullPathName();
    }

    // The folders the command line names, saved as the settings panel saves a chosen one. A
    // save that is refused ends the run before any bundle is touched.
    static bool applyDestinations (const Options& options, const juce::File& settingsFile, DestinationFolders& folders, RunLog& log)
    {
        bool any = false;
        for (const auto& given : options.destinations)
            any = any || given.isNotEmpty();

        if (! any)
            return true;

        log.add (lines::settingsFileUsed (settingsFile, settingsFile.existsAsFile()));

        for (int i = 0; i < numFormats; ++i)
        {
            const auto& given = options.destinations[(size_t) i];

            if (given.isEmpty())
                continue;

            const auto path = spelledForSettings (given);
            const auto saved = saveDestinationSetting (settingsFile, settings::pathAttributes[i], path);

            if (saved == SaveResult::fileRefused || saved == SaveResult::folderRefused)
            {
                log.add (lines::destinationNotSaved (i, path, settingsFile, saved == SaveResult::fileRefused));
                return false;
            }

            log.add (saved == SaveResult::saved ? lines::destinationSaved (i, path) : lines::destinationForThisRun (i, path));
            folders[(size_t) i] = platform::fileFromPath (given);
        }

        return true;
    }

    int runSilently (const Options& options, const juce::String& commandLine)
    {
        RunLog noLog;
        std::unique_ptr<RunLog> fileLog;

        if (options.log)
            fileLog = std::make_unique<RunLog> (options.logPath);

        auto& log = fileLog != nullptr ? *fileLog : noLog;
        logHeader (log, commandLine, true, options.uninstall);

        if (! options.isValid())
        {
            if (options.invalidArgument.isNotEmpty())
                log.add (lines::invalidParameter (options.invalidArgument, options.invalidReason));
            else
                log.add (lines::invalidParameter (options.unknown[0], "this installer does not know it"));

            return finish (log, install::exitInvalidParameter);
        }

        const juce::String productName = product::bundleBaseName;
        juce::File makerFolder;
        DestinationFolders folders;
        loadDestinationSettings (makerFolder, folders);

        if (! applyDestinations (options, settings::settingsFileIn (makerFolder), folders, log))
            return finish (log, install::exitInstallFailure);

        // The same start as the window's: what a killed pass left is put right first.
        log.add (lines::recovery (install::recoverAtStart (productName, folders)));

        install::InstallRequest request;
        request.uninstall = options.uninstall;
        request.productName = productName;
        request.destinationFolders = folders;
        request.archives = embeddedArchives();

        FormatArray<FormatState> before;
        bool newerKept = false;

        for (int i = 0; i < numFormats; ++i)
        {
            const auto bundle = bundleFileFor (folders[(size_t) i], productName, i);
            before[(size_t) i] = install_status::stateOf (bundle, install_status::versionFileIn (bundle, productName, i), product::version);
            const auto installed = before[(size_t) i].status != FormatStatus::notInstalled;
            auto selected = options.formats[(size_t) i] && (! options.uninstall || installed);

            if (selected && ! options.uninstall && before[(size_t) i].newerThanCarried && ! options.allowDowngrade)
            {
                selected = false;
                newerKept = true;
            }

            request.selected[(size_t) i] = selected;
        }

        logBeforePass (log, request, before);

        for (int i = 0; i < numFormats; ++i)
        {
            if (! options.formats[(size_t) i])
                log.add (lines::notChosen (i));
            else if (! options.uninstall && before[(size_t) i].newerThanCarried)
                log.add (options.allowDowngrade ? lines::newerReplaced (i, before[(size_t) i].version, product::version)
                                                : lines::newerKept (i, before[(size_t) i].version, product::version));
        }

        install::InstallReport report;
        report.uninstall = request.uninstall;

        if (std::find (request.selected.begin(), request.selected.end(), true) != request.selected.end())
            report = install::runInstallPass (request);
        else
            log.add (lines::nothingToDo());

        logAfterPass (log, request, report);

        auto exitCode = install::exitCodeFor (report, newerKept);

        // While another installer works, what is on disk is its to tell.
        if (! report.anotherInstallerRunning)
        {
            const auto registered = install_status::registerWhatIsInstalled (productName, folders);
            logRegistration (log, registered);

            // Keys that do not tell the truth fail the run: a detection rule would believe them.
            const auto keysTrue = registered.detectionWritten && registered.entryWritten && registered.keptCopyMade;

            if (! keysTrue && (exitCode == install::exitSuccess || exitCode == install::exitRestartRequired || exitCode == install::exitNewerVersionKept))
                exitCode = install::exitInstallFailure;
        }

        return finish (log, exitCode);
    }
}
