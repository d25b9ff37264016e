#pragma once

// The words of the install engine's results, in one place: what the screen shows, what screen
// readers hear and what a log says are all made here from the facts install/ reports, and what
// a maker reads of an archive the build refuses, from the facts archive/ reports.
#include "messages/ArchiveWords.h"
#include "messages/CopyFates.h"
#include "messages/OutcomeWords.h"
#include "messages/ProblemWords.h"
#include "messages/StartupNotice.h"
#include "messages/SystemErrorText.h"
