#include "app/KvInstallerApplication.h"

START_JUCE_APPLICATION (kv_installerApplication)
