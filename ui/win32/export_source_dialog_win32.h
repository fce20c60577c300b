#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "ui/window_services.h"

namespace tallix {

// The command ID of a control of ExportSourceControlTable(): IDOK and IDCANCEL for its two
// buttons, so that Enter and Esc press them; 0 for a name not in the table.
int ExportSourceControlId(std::string_view name);

// The export command's dialog, "导出源程序", made from ExportSourceControlTable() in an
// empty dialog of Windows' own class, at the owner's DPI and centred on it, modal: what
// was chosen with OK, or nullopt.
std::optional<ExportSourceChoice> ShowExportSourceDialog(HWND owner,
                                                         const ExportSourceChoice& prefilled);

}  // namespace tallix
