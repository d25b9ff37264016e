#include "archive/ZipRecord.h"

namespace kv::archive
{
    bool ZipRecord::isSymbolicLink() const
    {
        // Unix file type bits in the high half of the external attributes; JUCE reads them
        // whatever system made the entry, so do the same.
        return ((externalAttributes >> 28) & 0xf) == 0xa;
    }

    juce::Time ZipRecord::modificationTime() const
    {
        return { 1980 + (dosDate >> 9), ((dosDate >> 5) & 15) - 1, dosDate & 31, dosTime >> 11, (dosTime >> 5) & 63, (dosTime & 31) * 2 };
    }

    bool ZipRecord::sizesAreConsistent() const
    {
        // Deflate's densest code: a 258-byte match at distance 1 in two bits.
        constexpr juce::uint64 deflateMostExpansion = 1032;

        if (method == 0)
            return compressedSize == uncompressedSize;

        return uncompressedSize <= compressedSize * deflateMostExpansion;
    }
}
