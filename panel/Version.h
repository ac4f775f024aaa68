// The version of Vexal, the same for every program of the project.
#pragma once

extern const char* const VexalVersion;
