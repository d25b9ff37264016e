#include "tools/archive_check/SecondOpinion.h"

#include <zip.h>

namespace kv::archive
{
    juce::String libzipRefusal (const juce::File& archive)
    {
        int code = 0;

        if (auto* opened = zip_open (archive.getFullPathName().toRawUTF8(), ZIP_CHECKCONS | ZIP_RDONLY, &code))
        {
            zip_discard (opened);
            return {};
        }

        zip_error_t error;
        zip_error_init_with_code (&error, code);
        const auto message = juce::String::fromUTF8 (zip_error_strerror (&error));
        zip_error_fini (&error);
        return message;
    }
}
