#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#if ! defined(_WIN32)
#include <sys/wait.h>
#endif

namespace kv::test
{
    /** A fresh folder under the system temporary folder, removed with everything in it. */
    class TempFolder final
    {
    public:
        TempFolder()
        {
            std::random_device seed;
            path = std::filesystem::temp_directory_path() / ("kv_test_" + std::to_string (seed()) + std::to_string (seed()));
            std::filesystem::create_directories (path);
        }

        ~TempFolder()
        {
            std::error_code ignored;
            std::filesystem::remove_all (path, ignored);
        }

        TempFolder (const TempFolder&) = delete;
        TempFolder& operator= (const TempFolder&) = delete;

        std::filesystem::path operator/ (const std::string& name) const { return path / name; }

        std::string write (const std::string& name, const std::vector<uint8_t>& bytes) const
        {
            const auto file = path / name;
            std::ofstream out (file, std::ios::binary);
            out.write (reinterpret_cast<const char*> (bytes.data()), static_cast<std::streamsize> (bytes.size()));
            return file.string();
        }

        std::filesystem::path path;
    };

    inline std::vector<uint8_t> readFileBytes (const std::filesystem::path& file)
    {
        std::ifstream in (file, std::ios::binary);
        return { std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>() };
    }

    /** Runs a shell command, returning its exit status; output goes to `outputFile` when given. */
    inline int runCommand (const std::string& command, const std::filesystem::path& outputFile = {})
    {
        auto line = command + (outputFile.empty() ? " >/dev/null 2>&1" : " >'" + outputFile.string() + "' 2>&1");
        auto status = std::system (line.c_str());
#if defined(_WIN32)
        return status;
#else
        return WIFEXITED (status) ? WEXITSTATUS (status) : -1;
#endif
    }

    inline bool commandExists (const std::string& name)
    {
        return runCommand ("command -v " + name) == 0;
    }

    inline std::string readText (const std::filesystem::path& file)
    {
        auto bytes = readFileBytes (file);
        return { bytes.begin(), bytes.end() };
    }

} // namespace kv::test
