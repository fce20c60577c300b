#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "temp_dir.h"

namespace tallix::cli::testing {

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(tallix::testing::FromUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A report's five lines, labels and rules spelled out in code page 936 bytes so that an
// encoding slip shows; the three values are given as the bytes the file must hold.
inline std::string ExpectedReport(const std::string& path, const std::string& found,
                                  const std::string& total) {
    return "============\xB1\xBE\xC4\xDA\xC8\xDD\xD3\xC9Tallix\xB8\xA8\xD6\xFA\xC9\xFA\xB3\xC9"
           "============\r\n"
           "\xCE\xC4\xBC\xFE\xC3\xFB\xB3\xC6\xA3\xBA" +
           path + "\r\n\xD3\xD0\xD0\xA7\xD0\xD0\xCA\xFD\xA3\xBA" + found +
           "\r\n\xD7\xDC\xBC\xC6\xD0\xD0\xCA\xFD\xA3\xBA" + total + "\r\n" + std::string(46, '=') +
           "\r\n";
}

}  // namespace tallix::cli::testing
