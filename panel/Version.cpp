#include "panel/Version.h"

// Given by the build, from the project's version.
const char* const VexalVersion = VEXAL_VERSION;
