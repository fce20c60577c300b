#pragma once

#include <string>

#include "engine/project_analysis.h"

namespace tallix {

// The window's wording of what the analysis has to say: the text of its message box.
std::string MessageText(const AnalysisReason& reason);

}  // namespace tallix
