#pragma once

#include "tools/payload/ByteWriter.h"

namespace kv::payload
{
    /** Appends `count` deterministic bytes that deflate to a little under 60% of their size, as a
    real compiled plug-in module does: runs of pseudo-random bytes (standing in for code and
    packed data) between runs of zeros and repeated table-like patterns. The same seed always
    gives the same bytes, so the generated archives are reproducible. */
    void appendFillerBytes (Bytes& out, size_t count, uint64_t seed);

} // namespace kv::payload
