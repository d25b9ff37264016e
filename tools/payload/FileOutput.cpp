#include "tools/payload/FileOutput.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kv::payload
{
    void writeFileAtomically (const std::string& utf8Path, const Bytes& contents)
    {
        namespace fs = std::filesystem;

        const auto target = fs::u8path (utf8Path);
        auto temporary = target;
        temporary += ".partial";

        {
            std::ofstream stream (temporary, std::ios::binary | std::ios::trunc);
            stream.write (reinterpret_cast<const char*> (contents.data()), static_cast<std::streamsize> (contents.size()));

            if (! stream.good())
                throw std::runtime_error ("cannot write " + temporary.u8string());
        }

        std::error_code error;
        fs::rename (temporary, target, error);

        if (error)
        {
            fs::remove (temporary, error);
            throw std::runtime_error ("cannot rename into " + utf8Path);
        }
    }

} // namespace kv::payload
