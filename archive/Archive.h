#pragma once

// The archive layer, as the install pass and the build's check use it: the central
// directory and its plan (which entry goes where), the checks made before anything is
// written, the inflating of one entry against its records, and the memory it takes. What is
// wrong with an archive comes as a fact; messages/ArchiveWords.h says it.
#include "archive/ArchiveCheck.h"
#include "archive/EntryInflater.h"
#include "archive/ResidentMemory.h"
#include "archive/UnpackMemory.h"
