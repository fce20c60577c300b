// A file opened for reading by its UTF-8 name, the platform's way.
#pragma once

#include <cstdio>
#include <string>

namespace tallix {

// nullptr when the file cannot be opened.
std::FILE* OpenFileForReading(const std::string& utf8Path);

}  // namespace tallix
