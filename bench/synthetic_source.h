#pragma once

#include <cstddef>
#include <string>

namespace tallix::bench {

// Generated member and project texts of the shape real projects have: CRLF line ends, about
// one line in ten blank and one in ten a comment (half of them Chinese, in code page 936),
// indented code, now and then a very long line, and for forms a designer block ahead of the
// code. The same seed always gives the same bytes, so runs can be compared.

// A VB6 form of about `size` bytes: version line, designer block, attribute lines, code.
std::string Vb6FormText(std::size_t size, unsigned seed = 1);

// A VB.NET member of about `size` bytes: imports, a class, code.
std::string VbNetMemberText(std::size_t size, unsigned seed = 1);

// Code page 936 text that is mostly Chinese, of about `size` bytes, CRLF-terminated lines.
std::string ChineseText(std::size_t size, unsigned seed = 1);

// A .vbp naming `members` members (forms, modules, classes) among the usual other lines.
std::string Vb6ProjectText(int members);

// A .vbproj naming `members` members, with the designer and assembly files it leaves out.
std::string VbNetProjectText(int members);

}  // namespace tallix::bench
