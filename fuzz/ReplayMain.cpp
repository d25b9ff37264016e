// Runs a fuzz target's entry point over files, without libFuzzer: every input that ever
// made a target fail is kept in fuzz/regressions/<target>/ and replayed by CTest.
// Usage: <replay> <file or folder>...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);
extern "C" __attribute__ ((weak)) int LLVMFuzzerInitialize (int* argc, char*** argv);

int main (int argc, char** argv)
{
    if (LLVMFuzzerInitialize != nullptr)
        LLVMFuzzerInitialize (&argc, &argv);

    int replayed = 0;

    for (int i = 1; i < argc; ++i)
    {
        const std::filesystem::path path (argv[i]);
        std::vector<std::filesystem::path> files;

        if (std::filesystem::is_directory (path))
        {
            for (const auto& entry : std::filesystem::directory_iterator (path))
                if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                    files.push_back (entry.path());
        }
        else if (std::filesystem::is_regular_file (path))
        {
            files.push_back (path);
        }

        for (const auto& file : files)
        {
            std::ifstream in (file, std::ios::binary);
            const std::vector<char> bytes ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput (reinterpret_cast<const uint8_t*> (bytes.data()), bytes.size());
            ++replayed;
        }
    }

    std::printf ("replayed %d inputs\n", replayed);
    return 0;
}
