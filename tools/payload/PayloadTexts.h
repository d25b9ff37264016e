#pragma once

#include <string>

namespace kv::payload
{
    /** The Explorer folder settings that give a plug-in bundle folder its icon: four CRLF lines. */
    std::string desktopIniText();

    /** The VST3 bundle's Contents/Resources/moduleinfo.json: the module and its one audio effect
    class (with its edit controller), as a host scans them without loading the binary. */
    std::string moduleInfoJson();

} // namespace kv::payload
