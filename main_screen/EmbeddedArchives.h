#pragma once

#include "install/Install.h"

// The archives the installer carries, by format index, as the install pass takes them.
FormatArray<kv::install::EmbeddedArchive> embeddedArchives();
