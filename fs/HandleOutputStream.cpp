#include "fs/HandleOutputStream.h"

namespace kv::fs
{
    bool HandleOutputStream::write (const void* data, size_t size)
    {
        auto* bytes = static_cast<const char*> (data);

        while (size > 0 && ! failed)
        {
            const auto written = writeSome (bytes, size);

            if (written < 0)
                fail (FsStatus::failed);
            else
            {
                bytes += written;
                size -= (size_t) written;
                position += written;
            }
        }

        return ! failed;
    }
}
