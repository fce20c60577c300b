#pragma once

// The export command's small dialog, "导出源程序", as data, in the main window's style: the
// software's name and version, a check box for every page, OK and Cancel. Both windows build
// it from this table, and their tests hold it to it.

#include <span>

#include "ui/form1_layout.h"

namespace tallix {

inline constexpr const char* kExportSourceDialogName = "frmExportSource";
inline constexpr const char* kExportSourceCaption = "导出源程序";

// The dialog's client area, in twips.
inline constexpr int kExportSourceWidthTwips = 5415;
inline constexpr int kExportSourceHeightTwips = 2100;

// Every control once, in tab order; positions relative to the client area. OK is the
// default button, Cancel answers Esc.
std::span<const ControlLayout> ExportSourceControlTable();

}  // namespace tallix
