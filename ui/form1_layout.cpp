#include "ui/form1_layout.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tallix {

namespace {

using enum ControlKind;
constexpr ControlContainer W = ControlContainer::Window;
constexpr ControlContainer F = ControlContainer::Frame1;

// clang-format off
constexpr std::array kControls{
    ControlLayout{"Frame1",       Frame,            W, "分析来源",                   120,  120,  7335, 855, 10, 9,    false},
    ControlLayout{"Option1",      OptionButton,     F, "VB6 工程文件(*.vbp)",        240,  360,  2175, 255, 11, 9,    false},
    ControlLayout{"Option2",      OptionButton,     F, "VB7/8/9 工程文件(*.vbproj)", 2880, 360,  3255, 255, 12, 9,    false},
    ControlLayout{"Label19",      Label,            W, "准备分析的文件：",           120,  1200, 1440, 180, 13, 9,    true},
    ControlLayout{"Command10",    Button,           W, "打开文件(&O)",               4080, 1080, 1215, 375, 1,  9,    false},
    ControlLayout{"Command9",     Button,           W, "清除文件(&C)",               5640, 1080, 1215, 375, 2,  9,    false},
    ControlLayout{"txtFileName",  TextBox,          W, "",                           120,  1560, 7245, 375, 0,  9,    false},
    ControlLayout{"Command8",     Button,           W, "开始分析(&R)",               4080, 2040, 1215, 375, 3,  9,    false},
    ControlLayout{"Command7",     Button,           W, "保存结果(&S)",               5640, 2040, 1215, 375, 4,  9,    false},
    ControlLayout{"Label18",      Label,            W, "分析结果：",                 120,  2160, 900,  180, 6,  9,    true},
    ControlLayout{"Line1",        Line,             W, "",                           120,  2400, 3720, 2400, -1, 9,   false},
    ControlLayout{"Label17",      Label,            W, "有效行数：",                 480,  2785, 900,  180, 7,  9,    true},
    ControlLayout{"lblFoundline", MultiLineTextBox, W, "",                           1440, 2760, 5895, 735, 5,  10.5, false},
    ControlLayout{"Label16",      Label,            W, "总计行数：",                 480,  3600, 900,  180, 8,  9,    true},
    ControlLayout{"LblTotalLine", Label,            W, "",                           1440, 3570, 105,  210, 9,  10.5, true},
};

constexpr std::array kMenus{
    MenuLayout{"meuFile",         "文件(&F)",                   nullptr,     false, false},
    MenuLayout{"meuOpen",         "打开文件",                   "meuFile",   false, false},
    MenuLayout{"meuClear",        "清除文件",                   "meuFile",   false, false},
    MenuLayout{"bar0",            "-",                          "meuFile",   true,  false},
    MenuLayout{"meuStart",        "开始分析",                   "meuFile",   false, false},
    MenuLayout{"meuSave",         "保存结果",                   "meuFile",   false, false},
    MenuLayout{"meuExportSource", "导出源程序...",              "meuFile",   false, false},
    MenuLayout{"bar1",            "-",                          "meuFile",   true,  false},
    MenuLayout{"meuExit",         "退出",                       "meuFile",   false, false},
    MenuLayout{"meuOption",       "设置(&O)",                   nullptr,     false, false},
    MenuLayout{"meuSource",       "分析来源",                   "meuOption", false, false},
    MenuLayout{"meuVB6Proj",      "VB6 工程文件(*.vbp)",        "meuSource", false, true},
    MenuLayout{"meuVBdotNetProj", "VB7/8/9 工程文件(*.vbproj)", "meuSource", false, false},
    MenuLayout{"barCalcSetting",  "-",                          "meuOption", true,  false},
    MenuLayout{"meuBlankLine",    "不统计空白行",               "meuOption", false, false},
    MenuLayout{"meuRemarkLine",   "不统计注释行",               "meuOption", false, false},
    MenuLayout{"meuHelp",         "帮助(&H)",                   nullptr,     false, false},
    MenuLayout{"meuHelpFile",     "帮助文件",                   "meuHelp",   false, false},
    MenuLayout{"bar2",            "-",                          "meuHelp",   true,  false},
    MenuLayout{"meuVisitMyWeb",   "访问我的个人主页",           "meuHelp",   false, false},
    MenuLayout{"meuMailToMe",     "发送邮件给我...",            "meuHelp",   false, false},
    MenuLayout{"bar3",            "-",                          "meuHelp",   true,  false},
    MenuLayout{"meuAbout",        "关于本软件",                 "meuHelp",   false, false},
};
// clang-format on

template <typename Table>
std::optional<std::size_t> IndexOf(const Table& table, std::string_view name) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [name](const auto& entry) { return entry.name == name; });
    if (found == table.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - table.begin());
}

}  // namespace

std::span<const ControlLayout> Form1ControlTable() {
    return kControls;
}

std::span<const MenuLayout> Form1MenuTable() {
    return kMenus;
}

std::optional<std::size_t> ControlIndex(std::string_view name) {
    return IndexOf(kControls, name);
}

std::optional<std::size_t> MenuIndex(std::string_view name) {
    return IndexOf(kMenus, name);
}

bool TakesFocus(ControlKind kind) {
    switch (kind) {
        case OptionButton:
        case CheckBox:
        case Button:
        case TextBox:
        case MultiLineTextBox:
            return true;
        case Frame:
        case Label:
        case Line:
            return false;
    }
    return false;
}

int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = scaled < 0 ? -720 : 720;
    return static_cast<int>((scaled + half) / 1440);
}

PixelRect ClientRect(const ControlLayout& control, int dpi) {
    int dx = 0;
    int dy = 0;
    if (control.container == ControlContainer::Frame1) {
        const ControlLayout& frame = kControls[*ControlIndex("Frame1")];
        dx = frame.left;
        dy = frame.top;
    }
    const int left = control.left + dx;
    const int top = control.top + dy;
    if (control.kind == Line) {
        const int x2 = control.width + dx;
        const int y2 = control.height + dy;
        return {TwipsToPixels(std::min(left, x2), dpi), TwipsToPixels(std::min(top, y2), dpi),
                std::max(1, TwipsToPixels(std::abs(x2 - left), dpi)),
                std::max(1, TwipsToPixels(std::abs(y2 - top), dpi))};
    }
    return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(control.width, dpi),
            TwipsToPixels(control.height, dpi)};
}

}  // namespace tallix
