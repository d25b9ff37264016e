#pragma once

#include "tools/payload/ByteWriter.h"

namespace kv::payload
{
    /** The plug-in's folder icon at `size` x `size`: a shaded disc with a light strand across it.
    Returns straight-alpha RGBA, top row first. */
    Bytes renderIconRgba (int size);

} // namespace kv::payload
