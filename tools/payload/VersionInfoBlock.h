#pragma once

#include "tools/payload/ByteWriter.h"
#include "tools/payload/ModuleVersion.h"

namespace kv::payload
{
    /** The RT_VERSION resource data: a VS_VERSIONINFO tree with VS_FIXEDFILEINFO, a StringFileInfo
    holding one "040904B0" string table, and a VarFileInfo translation, laid out as rc.exe does
    so that Windows' version API reads it. */
    Bytes makeVersionInfoBlock (const ModuleVersion& version);

} // namespace kv::payload
