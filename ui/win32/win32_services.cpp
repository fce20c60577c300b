#include "ui/win32/win32_services.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "engine/text/wide_text.h"
#include "ui/dialog_paths.h"
#include "version/version.h"

namespace tallix {

void Win32MessageSink::ShowMessage(const std::string& text) {
    MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(kApplicationTitle).c_str(), MB_OK);
}

void Win32MessageSink::ShowInformation(const std::string& title, const std::string& text) {
    MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

std::wstring CommonDialogFilter(const std::string& filterName, const std::string& pattern) {
    std::wstring filter = Utf8ToWide(DialogFilter(filterName, pattern));
    filter += L'\0';
    filter += Utf8ToWide(pattern);
    filter += L'\0';
    // The wstring's own terminator is the second NUL of the pair that closes the list.
    return filter;
}

std::string Win32FileDialogs::ShowOpenDialog(const FileDialogRequest& request) {
    return Show(request, false);
}

std::string Win32FileDialogs::ShowSaveDialog(const FileDialogRequest& request) {
    return Show(request, true);
}

std::string Win32FileDialogs::Show(const FileDialogRequest& request, bool save) {
    const std::wstring filter = CommonDialogFilter(request.filterName, request.pattern);
    const std::wstring title = Utf8ToWide(request.title);
    const std::wstring folder = Utf8ToWide(request.startFolder);
    // Room for the longest path Windows can name, so no choice is ever cut short.
    std::vector<wchar_t> file(32768, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    // Both ask for an existing folder; only the open dialog asks for an existing file, and
    // the save dialog never asks before overwriting. The working folder stays as it was.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                   (save ? 0 : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) {
        return std::string();
    }
    return WideToUtf8(file.data());
}

bool Win32Desktop::ShowTextFile(const std::string& path) {
    // The path follows unquoted: Notepad takes the rest of its command line as one name.
    std::wstring commandLine = Utf8ToWide(editor_ + " " + path);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Win32Desktop::OpenUrl(const std::string& url) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner_, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOW));
    // Values above 32 mean the shell started something.
    return result > 32;
}

}  // namespace tallix
