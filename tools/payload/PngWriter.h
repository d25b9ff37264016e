#pragma once

#include "tools/payload/ByteWriter.h"

namespace kv::payload
{
    /** An 8-bit RGBA, non-interlaced PNG: signature, IHDR, one IDAT, IEND. `rgba` is top row first. */
    Bytes makePngRgba (uint32_t width, uint32_t height, const Bytes& rgba);

} // namespace kv::payload
