#pragma once

// The program's one window, native on Windows: a thin view over Form1Commands. The controls
// and menus come from the design tables (ui/form1_layout.h); every button, menu item, option
// button and drop turns into exactly one call of the commands, which read and set the window
// through Form1View.

#include <ole2.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form1_commands.h"
#include "ui/form1_view.h"
#include "ui/win32/form1_controls_win32.h"
#include "ui/window_services.h"

namespace tallix {

class DropTarget;

class Win32Form1 final : public Form1View, private ExportSourceDialog {
public:
    // Creates the window, hidden, and applies the stored settings. onClosed runs when the
    // window has been destroyed (the program ends its message loop there). The services must
    // outlive the window.
    Win32Form1(UserSettings& settings, FileDialogs& dialogs, MessageSink& messages,
               Desktop& desktop, std::function<void()> onClosed = {});
    Win32Form1(const Win32Form1&) = delete;
    Win32Form1& operator=(const Win32Form1&) = delete;
    ~Win32Form1() override;

    void Show(int showCommand);
    // nullptr once the window is gone.
    HWND Handle() const { return window_; }

    // Reached by name, as the design tables name them: a control, a menu item's command ID
    // (0 for a menu that opens a submenu, and for separators), where a menu entry sits, and
    // the drop target registered on a control ("" for the window itself).
    HWND Control(std::string_view name) const { return controls_.Handle(name); }
    UINT MenuId(std::string_view name) const;
    MenuPlace MenuEntry(std::string_view name) const;
    IDropTarget* DropTargetOf(std::string_view name) const;

    // Form1View
    std::string ProjectPath() const override;
    void SetProjectPath(const std::string& path) override;
    SourceKind SelectedKind() const override;
    void SetSelectedKind(SourceKind kind) override;
    void SetKindMarks(SourceKind kind) override;
    bool IsChecked(Form1Toggle item) const override;
    void SetChecked(Form1Toggle item, bool checked) override;
    void ShowResults(const std::string& foundLines, const std::string& totalLines) override;
    void SetBusy(bool busy) override;
    void CloseWindow() override;

private:
    // ExportSourceDialog
    std::optional<ExportSourceChoice> AskExportSource(const ExportSourceChoice& prefilled) override;

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(UINT id, UINT notification);
    void OnDestroy();
    void LayOut(int dpi);
    void Centre();
    void RegisterDropTargets();
    void RunPendingDrops();
    void Check(std::string_view item, bool checked);

    HWND window_ = nullptr;
    Form1ControlSet controls_;
    std::vector<MenuPlace> menuPlaces_;
    DropTarget* accepting_ = nullptr;
    DropTarget* refusing_ = nullptr;
    std::vector<HWND> dropWindows_;
    std::deque<std::vector<std::string>> pendingDrops_;
    bool busy_ = false;
    bool startHadFocus_ = false;
    HWND focus_ = nullptr;
    std::function<void()> onClosed_;
    Form1Commands commands_;
};

}  // namespace tallix
