#pragma once

#include "fs/FileOperations.h"
#include "install/InstallReport.h"
#include "install/detail/BundleJob.h"

// Installs or removes one format's bundle so that a failure never costs the user the copy
// they had: the archive is unpacked and checked in a staging folder beside the bundle and
// only then swapped in by renames within the destination folder.
namespace kv::install
{
    FormatOutcome installBundle (const BundleJob& job, fs::FileOperations& files = fs::FileOperations::real());
    FormatOutcome removeBundle (const BundleJob& job, fs::FileOperations& files = fs::FileOperations::real());
}
