#include "ui/win32/export_source_dialog_win32.h"

#include <string>
#include <vector>

#include "engine/text/wide_text.h"
#include "ui/export_source_layout.h"
#include "ui/win32/dpi.h"
#include "ui/win32/form1_controls_win32.h"

namespace tallix {

namespace {

constexpr int kFirstDialogControlId = 300;
constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// What the dialog's procedure works on, from its start to its end.
struct DialogState {
    ExportSourceChoice choice;
    bool chosen = false;
    HFONT font = nullptr;
};

HWND Child(HWND dialog, std::string_view name) {
    return GetDlgItem(dialog, ExportSourceControlId(name));
}

std::string TextOf(HWND control) {
    return WideToUtf8(WindowText(control));
}

// Lays the table out at the owner's DPI and centres the dialog on the owner.
void Build(HWND dialog, const DialogState& state) {
    const int dpi = WindowDpi(GetParent(dialog) != nullptr ? GetParent(dialog) : dialog);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlLayout& control : ExportSourceControlTable()) {
        const ControlClass windowClass = ControlClassFor(control.kind);
        DWORD style = windowClass.style;
        if (std::string_view(control.name) == "cmdOK") {
            style = (style & ~BS_PUSHBUTTON) | BS_DEFPUSHBUTTON;
        }
        const PixelRect rect = ClientRect(control, dpi);
        const HWND child = CreateWindowExW(
            windowClass.exStyle, windowClass.name, Utf8ToWide(control.caption).c_str(),
            WS_CHILD | WS_VISIBLE | WS_GROUP | style, rect.left, rect.top, rect.width, rect.height,
            dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ExportSourceControlId(control.name))),
            instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
        if (control.autoSize) {
            // A label takes the size of its text, on the middle of its designed line.
            const SIZE extent = TextExtent(child, state.font, Utf8ToWide(control.caption));
            MoveWindow(child, rect.left, rect.top + (rect.height - extent.cy) / 2, extent.cx,
                       extent.cy, FALSE);
        }
    }
    const SIZE outer = OuterSizeForClient(TwipsToPixels(kExportSourceWidthTwips, dpi),
                                          TwipsToPixels(kExportSourceHeightTwips, dpi),
                                          kDialogStyle, 0, false, dpi);
    RECT area{};
    if (const HWND owner = GetParent(dialog); owner != nullptr) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    SetWindowPos(dialog, nullptr, (area.left + area.right - outer.cx) / 2,
                 (area.top + area.bottom - outer.cy) / 2, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<DialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, Utf8ToWide(kExportSourceCaption).c_str());
            Build(dialog, *state);
            SetWindowTextW(Child(dialog, "txtSoftwareName"),
                           Utf8ToWide(state->choice.softwareName).c_str());
            SetWindowTextW(Child(dialog, "txtSoftwareVersion"),
                           Utf8ToWide(state->choice.softwareVersion).c_str());
            SendMessageW(Child(dialog, "chkAllPages"), BM_SETCHECK,
                         state->choice.allPages ? BST_CHECKED : BST_UNCHECKED, 0);
            const HWND name = Child(dialog, "txtSoftwareName");
            SendMessageW(name, EM_SETSEL, 0, -1);
            SetFocus(name);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                state->choice = {
                    TextOf(Child(dialog, "txtSoftwareName")),
                    TextOf(Child(dialog, "txtSoftwareVersion")),
                    SendMessageW(Child(dialog, "chkAllPages"), BM_GETCHECK, 0, 0) == BST_CHECKED};
                state->chosen = true;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

// An empty dialog template, its controls made in WM_INITDIALOG: the style, no menu, the
// dialog's own class, no title (set in WM_INITDIALOG), no font.
std::vector<WORD> EmptyTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = kDialogStyle;
    return words;
}

}  // namespace

int ExportSourceControlId(std::string_view name) {
    if (name == "cmdOK") {
        return IDOK;
    }
    if (name == "cmdCancel") {
        return IDCANCEL;
    }
    const auto table = ExportSourceControlTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (name == table[i].name) {
            return kFirstDialogControlId + static_cast<int>(i);
        }
    }
    return 0;
}

std::optional<ExportSourceChoice> ShowExportSourceDialog(HWND owner,
                                                         const ExportSourceChoice& prefilled) {
    DialogState state{prefilled};
    const int dpi = WindowDpi(owner);
    state.font = SongFont(9, dpi);
    std::vector<WORD> dialog = EmptyTemplate();
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
                            DialogProcedure, reinterpret_cast<LPARAM>(&state));
    DeleteObject(state.font);
    if (!state.chosen) {
        return std::nullopt;
    }
    return state.choice;
}

}  // namespace tallix
