#include "archive/ResidentMemory.h"

// Windows trims a process's pages itself and gives no large pages without a privilege an
// installer lacks: nothing to ask for.
namespace kv::archive
{
    void releaseExecutablePages (const void*, size_t) {}

    void preferLargePages (void*, size_t) {}
}
