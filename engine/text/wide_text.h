#pragma once

#include <string>
#include <string_view>

namespace tallix {

// UTF-8 to and from the UTF-16 of the Windows wide-character API. Windows only.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(const std::wstring& wide);

}  // namespace tallix
