#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/form1_layout.h"

namespace tallix {

// The window class and styles a control of a design table is made with.
struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};
ControlClass ControlClassFor(ControlKind kind);

// Song at the given size: 宋体 where Windows has it, the GB2312 face Windows substitutes
// elsewhere. The caller deletes it.
HFONT SongFont(double points, int dpi);

// The size a single line of text takes in the font, as a control shows it.
SIZE TextExtent(HWND control, HFONT font, const std::wstring& text);

// Control IDs: the control's place in Form1ControlTable() or Form1MenuTable() after a base,
// so a name finds its ID and a WM_COMMAND's ID finds its name. Both bases stay clear of
// IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
inline constexpr int kFirstControlId = 100;
inline constexpr int kFirstMenuId = 200;

// The window's child controls, made from the control table: created in tab order, laid out
// and given their fonts for a DPI, and found by name.
class Form1ControlSet {
public:
    Form1ControlSet() = default;
    Form1ControlSet(const Form1ControlSet&) = delete;
    Form1ControlSet& operator=(const Form1ControlSet&) = delete;
    ~Form1ControlSet();

    void Create(HWND parent, HINSTANCE instance);
    // Places every control and makes the fonts again for the given DPI.
    void Layout(int dpi);
    // A label that fits its text takes the size of its text, keeping its left edge and the
    // middle of its designed line.
    void FitToText(std::size_t index);

    // nullptr for a name not in the table.
    HWND Handle(std::string_view name) const;
    HWND At(std::size_t index) const { return handles_[index]; }
    std::size_t Count() const { return handles_.size(); }

private:
    HFONT FontFor(std::size_t index) const;

    std::vector<HWND> handles_;
    HFONT font9_ = nullptr;
    HFONT font105_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
};

// Where a menu table entry landed: the menu holding it and its position there.
struct MenuPlace {
    HMENU menu;
    UINT position;
};

// The menu bar from the menu table; places receives one entry per table row.
HMENU CreateForm1Menu(std::vector<MenuPlace>& places);

// The text a control or window shows.
std::wstring WindowText(HWND window);

}  // namespace tallix
