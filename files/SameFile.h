// Telling whether two names given by the user stand for one file, so that an
// output never overwrites an input.
#pragma once

#include <string>

// Whether the two names stand for one file: the same file where both exist,
// whatever links lead to it, else the same path once resolved, a dangling
// link standing for the file a write to it would create.
bool SameFile(const std::string& a, const std::string& b);
