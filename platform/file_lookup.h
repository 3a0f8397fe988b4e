// Finding the files that sit beside the program: players copy and unpack them on systems that
// keep the letter case of a name, so a name is matched without regard to it.
#pragma once

#include <string>

// The entry of dir whose name equals name without regard to (ASCII) letter case, as a full
// path; an exact match wins over other spellings. Empty when there is none. A name with a '/'
// is looked up in that folder below dir.
std::string FindFileNoCase(const std::string& dir, const std::string& name);
