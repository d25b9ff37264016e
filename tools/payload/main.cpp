// kv_payload: writes the stand-in product archives (vst3.zip, clap.zip, aax.zip) that the
// installer embeds when no real ones are given.

#include "tools/payload/PayloadBuilder.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace
{
    int usage()
    {
        std::cerr << "usage: kv_payload <output-dir> [--module-bytes N]\n";
        return 2;
    }

    bool parseSize (const std::string& text, uint64_t& result)
    {
        if (text.empty() || text.find_first_not_of ("0123456789") != std::string::npos || text.size() > 12)
            return false;

        result = std::stoull (text);
        return result > 0;
    }
}

int main (int argc, char** argv)
{
    std::string folder;
    std::optional<uint64_t> moduleBytes;

    for (int i = 1; i < argc; ++i)
    {
        const std::string arg (argv[i]);

        if (arg == "--module-bytes")
        {
            uint64_t value = 0;

            if (i + 1 >= argc || ! parseSize (argv[++i], value))
                return usage();

            moduleBytes = value;
        }
        else if (folder.empty() && ! arg.empty() && arg[0] != '-')
        {
            folder = arg;
        }
        else
        {
            return usage();
        }
    }

    if (folder.empty())
        return usage();

    try
    {
        for (auto& archive : kv::payload::writeProductArchives (folder, moduleBytes))
            std::cout << archive.path << "  " << archive.bytes << " bytes\n";
    }
    catch (const std::exception& e)
    {
        std::cerr << "kv_payload: " << e.what() << "\n";
        return 1;
    }

    return 0;
}
