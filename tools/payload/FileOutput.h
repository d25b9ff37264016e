#pragma once

#include "tools/payload/ByteWriter.h"

namespace kv::payload
{
    /** Writes through a temporary sibling and renames it into place, so an interrupted build never
    leaves a half-written archive that looks up to date. Throws std::runtime_error on failure. */
    void writeFileAtomically (const std::string& utf8Path, const Bytes& contents);

} // namespace kv::payload
