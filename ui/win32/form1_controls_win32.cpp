#include "ui/win32/form1_controls_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <string>

#include "engine/text/wide_text.h"
#include "ui/form1_layout.h"

namespace tallix {

ControlClass ControlClassFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::OptionButton:
            return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::TextBox:
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::MultiLineTextBox:
            return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::Line:
            return {L"STATIC", SS_BLACKRECT, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    }
    return {L"STATIC", 0, 0};
}

HFONT SongFont(double points, int dpi) {
    const int height = -MulDiv(static_cast<int>(points * 10), dpi, 720);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"SimSun");
}

SIZE TextExtent(HWND control, HFONT font, const std::wstring& text) {
    RECT extent{0, 0, 0, 0};
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {extent.right - extent.left, extent.bottom - extent.top};
}

namespace {

// A multi-line edit asks the dialog manager for every key, Tab included, so the keyboard
// could enter the results box but never leave it. This one lets Tab go on to the next control.
LRESULT CALLBACK PassTabOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (message == WM_GETDLGCODE && key != nullptr && key->message == WM_KEYDOWN &&
        key->wParam == VK_TAB) {
        result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    }
    return result;
}

}  // namespace

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

Form1ControlSet::~Form1ControlSet() {
    // The controls die with their parent; the fonts are this set's own.
    if (font9_ != nullptr) {
        DeleteObject(font9_);
    }
    if (font105_ != nullptr) {
        DeleteObject(font105_);
    }
}

void Form1ControlSet::Create(HWND parent, HINSTANCE instance) {
    const auto table = Form1ControlTable();
    handles_.assign(table.size(), nullptr);
    // Creation order is tab order for the dialog manager; the line, outside it, comes last.
    std::vector<std::size_t> order(table.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int ta = table[a].tabIndex < 0 ? 1000 : table[a].tabIndex;
        const int tb = table[b].tabIndex < 0 ? 1000 : table[b].tabIndex;
        return ta < tb;
    });
    for (const std::size_t index : order) {
        const ControlLayout& control = table[index];
        const ControlClass windowClass = ControlClassFor(control.kind);
        // Every control opens a group of its own but the second option button, which joins
        // the first so that the arrow keys move between the two.
        const DWORD group = control.name == std::string_view("Option2") ? 0 : WS_GROUP;
        handles_[index] = CreateWindowExW(
            windowClass.exStyle, windowClass.name, Utf8ToWide(control.caption).c_str(),
            WS_CHILD | WS_VISIBLE | group | windowClass.style, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), instance,
            nullptr);
        if (control.kind == ControlKind::MultiLineTextBox) {
            SetWindowSubclass(handles_[index], PassTabOn, 1, 0);
        }
    }
}

void Form1ControlSet::Layout(int dpi) {
    dpi_ = dpi;
    if (font9_ != nullptr) {
        DeleteObject(font9_);
    }
    if (font105_ != nullptr) {
        DeleteObject(font105_);
    }
    font9_ = SongFont(9, dpi);
    font105_ = SongFont(10.5, dpi);
    const auto table = Form1ControlTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        SendMessageW(handles_[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(i)), FALSE);
        const PixelRect rect = ClientRect(table[i], dpi);
        MoveWindow(handles_[i], rect.left, rect.top, rect.width, rect.height, TRUE);
        if (table[i].autoSize) {
            FitToText(i);
        }
    }
}

void Form1ControlSet::FitToText(std::size_t index) {
    const ControlLayout& control = Form1ControlTable()[index];
    const PixelRect designed = ClientRect(control, dpi_);
    const std::wstring text = WindowText(handles_[index]);
    if (text.empty()) {
        MoveWindow(handles_[index], designed.left, designed.top, designed.width, designed.height,
                   TRUE);
        return;
    }
    const SIZE extent = TextExtent(handles_[index], FontFor(index), text);
    MoveWindow(handles_[index], designed.left, designed.top + (designed.height - extent.cy) / 2,
               extent.cx, extent.cy, TRUE);
}

HWND Form1ControlSet::Handle(std::string_view name) const {
    const auto index = ControlIndex(name);
    return index && *index < handles_.size() ? handles_[*index] : nullptr;
}

HFONT Form1ControlSet::FontFor(std::size_t index) const {
    return Form1ControlTable()[index].fontPoints > 9 ? font105_ : font9_;
}

HMENU CreateForm1Menu(std::vector<MenuPlace>& places) {
    const auto table = Form1MenuTable();
    const HMENU bar = CreateMenu();
    std::map<std::string, HMENU> popups;
    // An entry that is some other entry's parent opens a menu of its own.
    for (const MenuLayout& entry : table) {
        if (entry.parent != nullptr && !popups.contains(entry.parent)) {
            popups[entry.parent] = CreatePopupMenu();
        }
    }
    places.clear();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MenuLayout& entry = table[i];
        const HMENU holder = entry.parent == nullptr ? bar : popups.at(entry.parent);
        places.push_back({holder, static_cast<UINT>(GetMenuItemCount(holder))});
        const std::wstring caption = Utf8ToWide(entry.caption);
        if (entry.separator) {
            AppendMenuW(holder, MF_SEPARATOR, 0, nullptr);
        } else if (const auto popup = popups.find(entry.name); popup != popups.end()) {
            AppendMenuW(holder, MF_POPUP, reinterpret_cast<UINT_PTR>(popup->second),
                        caption.c_str());
        } else {
            AppendMenuW(holder, MF_STRING | (entry.checked ? MF_CHECKED : MF_UNCHECKED),
                        kFirstMenuId + i, caption.c_str());
        }
    }
    return bar;
}

}  // namespace tallix
