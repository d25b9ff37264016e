// The install pass's archive handling on arbitrary ZIP bytes, into a real folder: whatever
// the archive holds, nothing is written outside the destination, nothing but the bundle is
// left in it, and a refused archive leaves the previous copy exactly as it was.
#include "FuzzSupport.h"
#include "install/detail/BundleInstaller.h"

using namespace kv::install;

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto& root = kv::fuzz::fuzzRoot();
    const auto top = root.getChildFile ("archive");
    const auto destination = top.getChildFile ("dest");

    top.deleteRecursively();
    destination.createDirectory();
    destination.getChildFile ("Strandline2.vst3/old.txt").create();
    destination.getChildFile ("Strandline2.vst3/old.txt").replaceWithText ("previous copy");

    BundleJob job;
    job.formatIndex = 0;
    job.destinationFolder = destination;
    job.bundleName = "Strandline2.vst3";
    job.archiveData = data;
    job.archiveSize = size;

    const auto outcome = installBundle (job);

    kv::fuzz::require (top.getNumberOfChildFiles (juce::File::findFilesAndDirectories) == 1);

    for (const auto& item : destination.findChildFiles (juce::File::findFilesAndDirectories, false, "*", juce::File::FollowSymlinks::no))
        kv::fuzz::require (item.getFileName() == "Strandline2.vst3");

    const auto oldFile = destination.getChildFile ("Strandline2.vst3/old.txt");

    if (outcome.succeeded())
        kv::fuzz::require (! oldFile.exists());
    else
        kv::fuzz::require (oldFile.loadFileAsString() == "previous copy");

    return 0;
}
