#pragma once

// The Win32 window in the test's own process, with the file dialogs, message boxes and
// desktop behind fakes and the settings in a registry key of the tests' own.

#include <ole2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/text/wide_text.h"
#include "persistence/user_settings.h"
#include "persistence/win32/registry_settings_store.h"
#include "temp_dir.h"
#include "ui/form1_layout.h"
#include "ui/win32/win32_form1.h"
#include "ui/window_services.h"

namespace tallix::testing {

// Answers each dialog with the path the test set, and keeps the requests.
class FakeDialogs : public FileDialogs {
public:
    std::string ShowOpenDialog(const FileDialogRequest& request) override {
        openCalls.push_back(request);
        return openAnswer;
    }
    std::string ShowSaveDialog(const FileDialogRequest& request) override {
        saveCalls.push_back(request);
        return saveAnswer;
    }
    std::string openAnswer;
    std::string saveAnswer;
    std::vector<FileDialogRequest> openCalls;
    std::vector<FileDialogRequest> saveCalls;
};

// Keeps each message instead of showing it, with whether Start was enabled at that moment.
class RecordingMessages : public MessageSink {
public:
    struct Message {
        std::string title;  // "" for ShowMessage
        std::string text;
        bool startEnabled;
    };
    void ShowMessage(const std::string& text) override {
        shown.push_back({"", text, start != nullptr && IsWindowEnabled(start) != FALSE});
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        shown.push_back({title, text, true});
    }
    HWND start = nullptr;
    std::vector<Message> shown;
};

class RecordingDesktop : public Desktop {
public:
    bool ShowTextFile(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    bool OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

inline std::string WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

// Runs whatever the window has posted to itself.
inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class Win32Form1Test : public ::testing::Test {
protected:
    static constexpr const wchar_t* kTestRoot = L"Software\\TallixTest";

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    }
    void TearDown() override {
        window_.reset();
        Pump();
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        OleUninitialize();
    }

    // The window, made and shown on first use, so a test can store settings before.
    Win32Form1& Window() {
        if (!window_) {
            window_ = std::make_unique<Win32Form1>(settings_, dialogs_, messages_, desktop_,
                                                   [this] { ++closed_; });
            messages_.start = window_->Control("Command8");
            window_->Show(SW_SHOW);
            Pump();
        }
        return *window_;
    }
    void Reopen() {
        window_.reset();
        Pump();
        Window();
    }

    HWND Control(const char* name) { return Window().Control(name); }
    std::string Text(const char* name) { return WindowTextOf(Control(name)); }
    void SetText(const char* name, const std::string& text) {
        SendMessageW(Control(name), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
    }
    void Click(const char* name) { SendMessageW(Control(name), BM_CLICK, 0, 0); }
    void Choose(const char* menuItem) {
        const UINT id = Window().MenuId(menuItem);
        ASSERT_NE(id, 0u) << menuItem;
        SendMessageW(Window().Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    bool Selected(const char* option) {
        return SendMessageW(Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    bool Marked(const char* menuItem) {
        return (GetMenuState(GetMenu(Window().Handle()), Window().MenuId(menuItem), MF_BYCOMMAND) &
                MF_CHECKED) != 0;
    }
    std::optional<std::string> Stored(const char* key) { return store_.LoadSetting(key); }

    TempDir dir_;
    RegistrySettingsStore store_{"Software\\TallixTest\\Ordwen\\Setting"};
    UserSettings settings_{store_, dir_.Str()};
    FakeDialogs dialogs_;
    RecordingMessages messages_;
    RecordingDesktop desktop_;
    int closed_ = 0;
    std::unique_ptr<Win32Form1> window_;
};

}  // namespace tallix::testing
