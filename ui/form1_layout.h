#pragma once

// The main window's controls and menus as plain data: names, captions, places and tab order
// as the window was designed. Every toolkit builds its window from these tables, and the
// layout tests of every window hold it to them.

#include <optional>
#include <span>
#include <string_view>

namespace tallix {

enum class ControlKind {
    Frame,
    OptionButton,
    Label,
    Button,
    TextBox,
    MultiLineTextBox,
    Line,
    CheckBox,
};

// Where a control's coordinates are counted from.
enum class ControlContainer { Window, Frame1 };

struct ControlLayout {
    const char* name;
    ControlKind kind;
    ControlContainer container;
    const char* caption;  // UTF-8
    // In twips, relative to the container. A Line holds its end points here instead:
    // left, top = x1, y1 and width, height = x2, y2.
    int left;
    int top;
    int width;
    int height;
    int tabIndex;  // -1 for a control outside the tab order (the line)
    double fontPoints;
    // Labels that fit their size to their text keep only their top-left corner.
    bool autoSize;
};

struct MenuLayout {
    const char* name;
    const char* caption;  // UTF-8; "-" for a separator
    const char* parent;   // nullptr for a menu on the bar
    bool separator;
    bool checked;  // checked as designed
};

// The client area, in twips.
inline constexpr int kClientWidthTwips = 7605;
inline constexpr int kClientHeightTwips = 4350;

// Every control once, in the order the designer lists them.
std::span<const ControlLayout> Form1ControlTable();

// Every menu and item in the order they appear: a menu or submenu comes before its items.
std::span<const MenuLayout> Form1MenuTable();

// The control's place in Form1ControlTable(), or nullopt for an unknown name.
std::optional<std::size_t> ControlIndex(std::string_view name);
std::optional<std::size_t> MenuIndex(std::string_view name);

// Whether the control can hold the keyboard focus (frames, labels and the line cannot).
bool TakesFocus(ControlKind kind);

// Twips to pixels at the given dots per inch, rounded to the nearest pixel: 15 twips to a
// pixel at 96 DPI.
int TwipsToPixels(int twips, int dpi);

// A control's rectangle in pixels relative to the window's client area, frames' children
// included. A Line becomes a rectangle one pixel deep (or wide) along its length.
struct PixelRect {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const PixelRect&) const = default;
};
PixelRect ClientRect(const ControlLayout& control, int dpi);

}  // namespace tallix
