#include "archive/EntryInflater.h"

#include "archive/LargeBlock.h"

#include <libdeflate.h>

#include <memory>
#include <optional>

namespace kv::archive
{
    namespace
    {
        // Linux writes at most about 2 GiB in one call, and WriteFile counts in 32 bits.
        constexpr juce::uint64 largestWrite = 1 << 30;

        struct FreeDecompressor
        {
            void operator() (libdeflate_decompressor* d) const { libdeflate_free_decompressor (d); }
        };

        bool writeAll (juce::OutputStream& out, const juce::uint8* bytes, juce::uint64 size)
        {
            for (juce::uint64 done = 0; done < size;)
            {
                const auto n = juce::jmin (largestWrite, size - done);

                if (! out.write (bytes + done, (size_t) n))
                    return false;

                done += n;
            }

            return true;
        }
    }

    EntryCopy copyEntryVerified (const void* archive, size_t archiveSize, const ZipRecord& record, juce::OutputStream* out)
    {
        const auto* data = zipEntryData (archive, archiveSize, record);

        if (data == nullptr || (record.method != 0 && record.method != 8) || ! record.sizesAreConsistent())
            return EntryCopy::damaged;

        const auto size = record.uncompressedSize;
        const juce::uint8* bytes = data;
        std::optional<LargeBlock> inflated;

        if (record.method == 8)
        {
            inflated.emplace (size);
            std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor (libdeflate_alloc_decompressor());

            // Without memory for it the entry cannot be written; the memory check before the
            // pass refuses such archives before anything is created.
            if (inflated->get() == nullptr || decompressor == nullptr)
                return EntryCopy::writeFailed;

            // Asked for no count of what came out, libdeflate succeeds only when the data
            // inflates to exactly the recorded size.
            if (libdeflate_deflate_decompress (decompressor.get(), data, (size_t) record.compressedSize, inflated->get(), (size_t) size,
                                               nullptr)
                != LIBDEFLATE_SUCCESS)
                return EntryCopy::damaged;

            bytes = inflated->get();
        }

        if (libdeflate_crc32 (0, bytes, (size_t) size) != record.crc32)
            return EntryCopy::damaged;

        if (out == nullptr)
            return EntryCopy::ok;

        // Large entries go to the file in one write, past the stream's own buffer.
        if (! writeAll (*out, bytes, size))
            return EntryCopy::writeFailed;

        out->flush();
        return EntryCopy::ok;
    }
}
