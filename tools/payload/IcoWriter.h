#pragma once

#include "tools/payload/ByteWriter.h"

namespace kv::payload
{
    /** The Windows icon shown on the plug-in folders: 16, 32 and 48 px as 32-bit BMP images and
    256 px as PNG, the set Explorer picks from at every view size. */
    Bytes makePluginIcon();

} // namespace kv::payload
