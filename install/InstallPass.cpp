#include "install/InstallPass.h"

#include "identity/EmbeddedResources.h"
#include "identity/ProductIdentity.h"
#include "install/BundleInstaller.h"
#include "platform/InstallerLock.h"

InstallReport runInstallPass (const InstallRequest& request, FileOperations& files)
{
    InstallReport report;
    report.uninstall = request.uninstall;

    kv::platform::InstallerLock lock (request.productName, request.lockWaitMs);

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
        job.bundleName = request.productName + formatExtensions[i];
        job.archiveData = request.archives[(size_t) i].data;
        job.archiveSize = request.archives[(size_t) i].size;
        job.archiveMappedFromExecutable = request.archives[(size_t) i].mappedFromExecutable;

        report.outcomes.push_back (request.uninstall ? removeBundle (job, files) : installBundle (job, files));
    }

    return report;
}

FormatArray<EmbeddedArchive> embeddedArchives()
{
    FormatArray<EmbeddedArchive> archives;

    for (size_t i = 0; i < archives.size(); ++i)
        archives[i] = { formatResources[i].archive, (size_t) formatResources[i].archiveSize, true };

    return archives;
}
