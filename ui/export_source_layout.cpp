#include "ui/export_source_layout.h"

#include <array>

namespace tallix {

namespace {

using enum ControlKind;
constexpr ControlContainer W = ControlContainer::Window;

// clang-format off
constexpr std::array kControls{
    ControlLayout{"txtSoftwareName",    TextBox,  W, "",                               1200, 240,  3975, 315, 0, 9, false},
    ControlLayout{"txtSoftwareVersion", TextBox,  W, "",                               1200, 720,  1815, 315, 1, 9, false},
    ControlLayout{"chkAllPages",        CheckBox, W, "导出全部页（不只前30页和后30页）", 240,  1200, 4935, 255, 2, 9, false},
    ControlLayout{"cmdOK",              Button,   W, "确定",                           2760, 1620, 1215, 375, 3, 9, false},
    ControlLayout{"cmdCancel",          Button,   W, "取消",                           4080, 1620, 1215, 375, 4, 9, false},
    ControlLayout{"lblSoftwareName",    Label,    W, "软件名称：",                     240,  300,  900,  180, 5, 9, true},
    ControlLayout{"lblSoftwareVersion", Label,    W, "版本号：",                       240,  780,  720,  180, 6, 9, true},
};
// clang-format on

}  // namespace

std::span<const ControlLayout> ExportSourceControlTable() {
    return kControls;
}

}  // namespace tallix
