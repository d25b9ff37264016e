// peversion: prints each PE file's version (empty when it has none), a tab, then its path.

#include "pe/PeVersionReader.h"

#include <iostream>

int main (int argc, char** argv)
{
    if (argc < 2)
        std::cerr << "usage: peversion FILE...\n";

    for (int i = 1; i < argc; ++i)
        std::cout << kv::pe::readPeFileVersion (argv[i]) << '\t' << argv[i] << '\n';

    return 0;
}
