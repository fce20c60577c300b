#pragma once

#include <windows.h>

#include <string>

#include "ui/window_services.h"

namespace tallix {

// The services the commands reach the user through, made of Windows' own boxes, common
// dialogs and shell. Each belongs to the owner window once SetOwner has named it.

class Win32MessageSink final : public MessageSink {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(const std::string& text) override;
    void ShowInformation(const std::string& title, const std::string& text) override;

private:
    HWND owner_ = nullptr;
};

class Win32FileDialogs final : public FileDialogs {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    std::string ShowOpenDialog(const FileDialogRequest& request) override;
    std::string ShowSaveDialog(const FileDialogRequest& request) override;

private:
    std::string Show(const FileDialogRequest& request, bool save);

    HWND owner_ = nullptr;
};

class Win32Desktop final : public Desktop {
public:
    // editor is the program a text file is shown with.
    explicit Win32Desktop(std::string editor = "notepad.exe") : editor_(std::move(editor)) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    bool ShowTextFile(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;

private:
    std::string editor_;
    HWND owner_ = nullptr;
};

// The filter of a common dialog: "name(pattern)", NUL, the pattern, and the closing NULs.
std::wstring CommonDialogFilter(const std::string& filterName, const std::string& pattern);

}  // namespace tallix
