// The deposit's font on Windows: beside the program, else the system's or the user's
// (persistence/deposit/font_search.h says in which order).

#include <windows.h>

#include <string>

#include "engine/text/wide_text.h"
#include "persistence/deposit/deposit_font.h"
#include "persistence/deposit/font_search.h"

namespace tallix {

namespace {

std::string FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string() : WideToUtf8(path.substr(0, slash));
}

// The folder of the running program, whatever the length of its path.
std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return FolderOf(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string SystemFontsFolder() {
    std::wstring windows(MAX_PATH, L'\0');
    const UINT length = ::GetWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    if (length == 0 || length >= windows.size()) {
        return {};
    }
    windows.resize(length);
    return WideToUtf8(windows) + "\\Fonts";
}

// Where Windows 10 and later install a font for one user only.
std::string UserFontsFolder() {
    std::wstring local(32768, L'\0');
    const DWORD length =
        ::GetEnvironmentVariableW(L"LOCALAPPDATA", local.data(), static_cast<DWORD>(local.size()));
    if (length == 0 || length >= local.size()) {
        return {};
    }
    local.resize(length);
    return WideToUtf8(local) + "\\Microsoft\\Windows\\Fonts";
}

}  // namespace

std::optional<FontFile> FindDepositFont() {
    return FirstFontFound(
        WindowsFontCandidates(ProgramFolder(), SystemFontsFolder(), UserFontsFolder()));
}

}  // namespace tallix
