#include "install/Install.h"

#include "identity/BundleLocation.h"
#include "install/detail/BundleInstaller.h"
#include "platform/InstallerLock.h"

namespace kv::install
{
    InstallReport runInstallPass (const InstallRequest& request, fs::FileOperations& files)
    {
        InstallReport report;
        report.uninstall = request.uninstall;
        files.resetRetryBudget();

        platform::InstallerLock lock (request.productName, request.lockWaitMs);

        // Fail closed: a pass never runs without the lock.
        if (lock.couldNotBeMade())
        {
            report.lockUnavailable = true;
            return report;
        }

        if (! lock.isHeld())
        {
            report.anotherInstallerRunning = true;
            return report;
        }

        for (int i = 0; i < numFormats; ++i)
        {
            if (! request.selected[(size_t) i])
                continue;

            BundleJob job;
            job.formatIndex = i;
            job.destinationFolder = request.destinationFolders[(size_t) i];
            job.bundleName = bundleNameFor (request.productName, i);
            job.archiveData = request.archives[(size_t) i].data;
            job.archiveSize = request.archives[(size_t) i].size;
            job.archiveMappedFromExecutable = request.archives[(size_t) i].mappedFromExecutable;

            report.outcomes.push_back (request.uninstall ? removeBundle (job, files) : installBundle (job, files));
        }

        return report;
    }
}
