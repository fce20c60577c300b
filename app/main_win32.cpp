// Program start of the native Windows window.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "engine/text/wide_text.h"
#include "persistence/user_settings.h"
#include "persistence/win32/registry_settings_store.h"
#include "ui/win32/win32_form1.h"
#include "ui/win32/win32_services.h"

namespace {

// The executable's full path.
std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The folder that holds the executable, without a closing backslash.
std::string ProgramFolder(const std::wstring& programPath) {
    return tallix::WideToUtf8(programPath.substr(0, programPath.find_last_of(L"\\/")));
}

// The executable's base name, "Ordwen": the name its settings are kept under.
std::string ApplicationName(const std::wstring& programPath) {
    std::wstring name = programPath.substr(programPath.find_last_of(L"\\/") + 1);
    if (const auto dot = name.find_last_of(L'.'); dot != std::wstring::npos) {
        name.resize(dot);
    }
    return tallix::WideToUtf8(name);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // Without OLE the window still works; it only takes no drops.
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const std::wstring programPath = ProgramPath();
    tallix::RegistrySettingsStore store =
        tallix::RegistrySettingsStore::ForApplication(ApplicationName(programPath));
    tallix::UserSettings settings(store, ProgramFolder(programPath));
    tallix::Win32FileDialogs dialogs;
    tallix::Win32MessageSink messages;
    tallix::Win32Desktop desktop;
    int exitCode = 0;
    {
        tallix::Win32Form1 window(settings, dialogs, messages, desktop, [] { PostQuitMessage(0); });
        if (window.Handle() == nullptr) {
            exitCode = 1;
        } else {
            dialogs.SetOwner(window.Handle());
            messages.SetOwner(window.Handle());
            desktop.SetOwner(window.Handle());
            window.Show(showCommand);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                // The dialog manager moves the focus with Tab and the arrows and presses a
                // button for its access key.
                if (window.Handle() != nullptr && IsDialogMessageW(window.Handle(), &message)) {
                    continue;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            exitCode = static_cast<int>(message.wParam);
        }
    }
    if (ole) {
        OleUninitialize();
    }
    return exitCode;
}
