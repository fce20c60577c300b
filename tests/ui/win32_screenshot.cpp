// Shows the native window after counting a project and keeps it up for a while, printing
// where it stands on the screen, so that scripts/screenshot-windows can take its picture:
//   wine win32_screenshot.exe C:\Projects\Inventory\Inventory.vbp 10
#include <ole2.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "engine/text/wide_text.h"
#include "persistence/memory_settings_store.h"
#include "persistence/user_settings.h"
#include "ui/win32/win32_form1.h"
#include "ui/window_services.h"

namespace {

// Chooses the given project without showing a dialog.
class GivenProject : public tallix::FileDialogs {
public:
    explicit GivenProject(std::string path) : path_(std::move(path)) {}
    std::string ShowOpenDialog(const tallix::FileDialogRequest&) override { return path_; }
    std::string ShowSaveDialog(const tallix::FileDialogRequest&) override { return {}; }

private:
    std::string path_;
};

class PrintedMessages : public tallix::MessageSink {
public:
    void ShowMessage(const std::string& text) override {
        std::printf("message: %s\n", text.c_str());
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        std::printf("%s: %s\n", title.c_str(), text.c_str());
    }
};

class NoDesktop : public tallix::Desktop {
public:
    bool ShowTextFile(const std::string&) override { return false; }
    bool OpenUrl(const std::string&) override { return false; }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: win32_screenshot PROJECT SECONDS\n");
        return 2;
    }
    OleInitialize(nullptr);
    tallix::MemorySettingsStore store;
    tallix::UserSettings settings(store, "C:\\Program Files\\Tallix");
    GivenProject dialogs(tallix::WideToUtf8(argv[1]));
    PrintedMessages messages;
    NoDesktop desktop;
    tallix::Win32Form1 window(settings, dialogs, messages, desktop, [] { PostQuitMessage(0); });
    window.Show(SW_SHOW);
    SendMessageW(window.Control("Command10"), BM_CLICK, 0, 0);
    SendMessageW(window.Control("Command8"), BM_CLICK, 0, 0);
    SetFocus(window.Control("txtFileName"));

    RECT frame{};
    GetWindowRect(window.Handle(), &frame);
    std::printf("window %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    std::fflush(stdout);

    SetTimer(window.Handle(), 1, static_cast<UINT>(_wtoi(argv[2]) * 1000), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == window.Handle()) {
            DestroyWindow(window.Handle());
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    OleUninitialize();
    return 0;
}
