#include "main_screen/EmbeddedArchives.h"

#include "main_screen/EmbeddedResources.h"

FormatArray<kv::install::EmbeddedArchive> embeddedArchives()
{
    FormatArray<kv::install::EmbeddedArchive> archives;

    for (size_t i = 0; i < archives.size(); ++i)
        archives[i] = { formatResources[i].archive, (size_t) formatResources[i].archiveSize, true };

    return archives;
}
