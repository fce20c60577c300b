#include "ui/win32/win32_form1.h"

#include <algorithm>

#include "engine/text/wide_text.h"
#include "ui/form1_layout.h"
#include "ui/win32/dpi.h"
#include "ui/win32/drop_target.h"
#include "ui/win32/export_source_dialog_win32.h"

namespace tallix {

namespace {

constexpr wchar_t kClassName[] = L"TallixForm1";
// Posted by a drop: the commands run after the drop has returned to the file manager, which
// waits for it, so a dialog that Open shows does not hold the file manager up.
constexpr UINT kRunDropsMessage = WM_APP + 1;
// A fixed single border with a system menu and neither minimise nor maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// A button or menu item and the command it runs; a button and its item share one command.
struct Route {
    const char* name;
    void (Form1Commands::*run)();
};
constexpr Route kRoutes[] = {
    {"Command10", &Form1Commands::OpenProject},
    {"meuOpen", &Form1Commands::OpenProject},
    {"Command9", &Form1Commands::ClearFile},
    {"meuClear", &Form1Commands::ClearFile},
    {"Command8", &Form1Commands::StartAnalysis},
    {"meuStart", &Form1Commands::StartAnalysis},
    {"Command7", &Form1Commands::SaveResults},
    {"meuSave", &Form1Commands::SaveResults},
    {"meuExportSource", &Form1Commands::ExportSource},
    {"meuExit", &Form1Commands::ExitProgram},
    {"meuBlankLine", &Form1Commands::ToggleBlankLine},
    {"meuRemarkLine", &Form1Commands::ToggleRemarkLine},
    {"meuHelpFile", &Form1Commands::ShowHelpFile},
    {"meuVisitMyWeb", &Form1Commands::VisitMyWeb},
    {"meuMailToMe", &Form1Commands::MailToMe},
    {"meuAbout", &Form1Commands::ShowAbout},
};

// The names of the controls that take no drop.
bool RefusesDrops(std::string_view name) {
    return name == "LblTotalLine" || name == "Line1";
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    // The icon of the program's resources, at the sizes the caption and the task bar want.
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    RegisterClassExW(&windowClass);  // fails harmlessly when a second window registers again
}

}  // namespace

Win32Form1::Win32Form1(UserSettings& settings, FileDialogs& dialogs, MessageSink& messages,
                       Desktop& desktop, std::function<void()> onClosed)
    : onClosed_(std::move(onClosed)),
      commands_(*this, settings, dialogs, messages, desktop, *this) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass(instance, &Win32Form1::WindowProcedure);
    window_ = CreateWindowExW(0, kClassName, L"Cantorel", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0,
                              0, nullptr, CreateForm1Menu(menuPlaces_), instance, this);
    if (window_ == nullptr) {
        return;
    }
    controls_.Create(window_, instance);
    LayOut(WindowDpi(window_));
    Centre();
    RegisterDropTargets();
    SetSelectedKind(SourceKind::Vb6);  // as designed, before the stored kind applies
    commands_.ApplyStoredSettings();
    SetWindowTextW(window_, Utf8ToWide(commands_.Caption()).c_str());
    focus_ = Control("txtFileName");
}

Win32Form1::~Win32Form1() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (accepting_ != nullptr) {
        accepting_->Release();
    }
    if (refusing_ != nullptr) {
        refusing_->Release();
    }
}

void Win32Form1::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    SetFocus(focus_);
}

UINT Win32Form1::MenuId(std::string_view name) const {
    const auto index = MenuIndex(name);
    if (!index) {
        return 0;
    }
    const MenuPlace place = menuPlaces_[*index];
    const UINT id = GetMenuItemID(place.menu, static_cast<int>(place.position));
    return id == static_cast<UINT>(-1) ? 0 : id;
}

MenuPlace Win32Form1::MenuEntry(std::string_view name) const {
    const auto index = MenuIndex(name);
    return index ? menuPlaces_[*index] : MenuPlace{nullptr, 0};
}

IDropTarget* Win32Form1::DropTargetOf(std::string_view name) const {
    if (name.empty()) {
        return accepting_;
    }
    if (Control(name) == nullptr) {
        return nullptr;
    }
    return RefusesDrops(name) ? refusing_ : accepting_;
}

std::string Win32Form1::ProjectPath() const {
    return WideToUtf8(WindowText(Control("txtFileName")));
}

void Win32Form1::SetProjectPath(const std::string& path) {
    // Setting the same text again would move the caret and drop the selection.
    const std::wstring text = Utf8ToWide(path);
    if (WindowText(Control("txtFileName")) != text) {
        SetWindowTextW(Control("txtFileName"), text.c_str());
    }
}

SourceKind Win32Form1::SelectedKind() const {
    if (SendMessageW(Control("Option1"), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        return SourceKind::Vb6;
    }
    if (SendMessageW(Control("Option2"), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        return SourceKind::VbNet;
    }
    return SourceKind::None;
}

void Win32Form1::SetSelectedKind(SourceKind kind) {
    SendMessageW(Control("Option1"), BM_SETCHECK, kind == SourceKind::Vb6, 0);
    SendMessageW(Control("Option2"), BM_SETCHECK, kind == SourceKind::VbNet, 0);
}

void Win32Form1::SetKindMarks(SourceKind kind) {
    Check("meuVB6Proj", kind == SourceKind::Vb6);
    Check("meuVBdotNetProj", kind == SourceKind::VbNet);
}

bool Win32Form1::IsChecked(Form1Toggle item) const {
    const UINT id = MenuId(item == Form1Toggle::BlankLine ? "meuBlankLine" : "meuRemarkLine");
    return (GetMenuState(GetMenu(window_), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Win32Form1::SetChecked(Form1Toggle item, bool checked) {
    Check(item == Form1Toggle::BlankLine ? "meuBlankLine" : "meuRemarkLine", checked);
}

void Win32Form1::Check(std::string_view item, bool checked) {
    CheckMenuItem(GetMenu(window_), MenuId(item),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Form1::ShowResults(const std::string& foundLines, const std::string& totalLines) {
    SetWindowTextW(Control("lblFoundline"), Utf8ToWide(foundLines).c_str());
    SetWindowTextW(Control("LblTotalLine"), Utf8ToWide(totalLines).c_str());
    controls_.FitToText(*ControlIndex("LblTotalLine"));
}

void Win32Form1::SetBusy(bool busy) {
    if (busy_ == busy) {
        return;
    }
    busy_ = busy;
    const HWND start = Control("Command8");
    if (busy) {
        // A disabled button loses the keyboard to nobody; it gets it back afterwards.
        startHadFocus_ = GetFocus() == start;
        EnableWindow(start, FALSE);
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    } else {
        EnableWindow(start, TRUE);
        if (startHadFocus_) {
            SetFocus(start);
        }
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

std::optional<ExportSourceChoice> Win32Form1::AskExportSource(const ExportSourceChoice& prefilled) {
    return ShowExportSourceDialog(window_, prefilled);
}

void Win32Form1::CloseWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK Win32Form1::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<Win32Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Win32Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case kRunDropsMessage:
            RunPendingDrops();
            return 0;
        case WM_CTLCOLORSTATIC: {
            // The results box wears the menu bar's colour, as designed; the other labels,
            // the frame and the option buttons the window's.
            const int colour = reinterpret_cast<HWND>(lParam) == Control("lblFoundline")
                                   ? COLOR_MENU
                                   : COLOR_BTNFACE;
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(colour));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
        }
        case WM_SETCURSOR:
            if (busy_ && IsWindowEnabled(window_)) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // The control that had the keyboard gets it back when the window is active again.
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (const HWND focus = GetFocus(); focus != nullptr && IsChild(window_, focus)) {
                    focus_ = focus;
                }
            } else if (focus_ != nullptr) {
                SetFocus(focus_);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            LayOut(HIWORD(wParam));
            return 0;
        }
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Form1::OnCommand(UINT id, UINT notification) {
    const auto controls = Form1ControlTable();
    const auto menus = Form1MenuTable();
    std::string_view name;
    if (id >= kFirstControlId && id < kFirstControlId + controls.size()) {
        // Of a control's notifications only a click runs anything.
        const ControlKind kind = controls[id - kFirstControlId].kind;
        if (notification != BN_CLICKED ||
            (kind != ControlKind::Button && kind != ControlKind::OptionButton)) {
            return;
        }
        name = controls[id - kFirstControlId].name;
    } else if (id >= kFirstMenuId && id < kFirstMenuId + menus.size()) {
        name = menus[id - kFirstMenuId].name;
    } else {
        return;
    }

    if (name == "Option1" || name == "Option2") {
        // The button has selected itself; a click on the one already selected changes
        // nothing, which the commands know.
        const SourceKind kind = name == "Option1" ? SourceKind::Vb6 : SourceKind::VbNet;
        if (SelectedKind() == kind) {
            commands_.OptionClicked(kind);
        }
    } else if (name == "meuVB6Proj" || name == "meuVBdotNetProj") {
        commands_.KindItemChosen(name == "meuVB6Proj" ? SourceKind::Vb6 : SourceKind::VbNet);
    } else {
        const auto route = std::find_if(std::begin(kRoutes), std::end(kRoutes),
                                        [name](const Route& r) { return name == r.name; });
        if (route != std::end(kRoutes)) {
            (commands_.*(route->run))();
        }
    }
}

void Win32Form1::OnDestroy() {
    for (const HWND target : dropWindows_) {
        RevokeDragDrop(target);
    }
    dropWindows_.clear();
    pendingDrops_.clear();
    if (onClosed_) {
        onClosed_();
    }
}

void Win32Form1::LayOut(int dpi) {
    controls_.Layout(dpi);
    const int width = TwipsToPixels(kClientWidthTwips, dpi);
    const int height = TwipsToPixels(kClientHeightTwips, dpi);
    SIZE outer = OuterSizeForClient(width, height, kStyle, 0, true, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar too long for the window wraps onto a second line and takes from the client
    // area; the window grows by what is missing.
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right != width || client.bottom != height) {
        outer.cx += width - client.right;
        outer.cy += height - client.bottom;
        SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Form1::Centre() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        return;
    }
    RECT frame{};
    GetWindowRect(window_, &frame);
    const RECT& work = monitor.rcWork;
    const int left = work.left + (work.right - work.left - (frame.right - frame.left)) / 2;
    const int top = work.top + (work.bottom - work.top - (frame.bottom - frame.top)) / 2;
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form1::RegisterDropTargets() {
    accepting_ = DropTarget::Accepting([this](std::vector<std::string> files) {
        pendingDrops_.push_back(std::move(files));
        PostMessageW(window_, kRunDropsMessage, 0, 0);
    });
    refusing_ = DropTarget::Refusing();
    // OLE looks for a target from the window under the pointer up through its parents, so
    // the two controls that refuse need a target of their own that says no.
    std::vector<std::pair<HWND, IDropTarget*>> targets{{window_, accepting_}};
    for (const ControlLayout& control : Form1ControlTable()) {
        targets.emplace_back(Control(control.name),
                             RefusesDrops(control.name) ? refusing_ : accepting_);
    }
    for (const auto& [target, handler] : targets) {
        if (SUCCEEDED(RegisterDragDrop(target, handler))) {
            dropWindows_.push_back(target);
        }
    }
}

void Win32Form1::RunPendingDrops() {
    while (!pendingDrops_.empty()) {
        const std::vector<std::string> files = std::move(pendingDrops_.front());
        pendingDrops_.pop_front();
        commands_.DropFiles(files);
    }
}

}  // namespace tallix
