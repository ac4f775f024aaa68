// The file a name finally stands for, as a write to that name would find it.
#pragma once

#include <string>

// Follows symbolic links from path as a plain write would, a dangling one
// included: the bytes belong in the link's target, and the link must stay.
// False for a loop of links.
bool FollowLinks(std::string& path);
