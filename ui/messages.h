#pragma once

#include <string>

#include "engine/project_analysis.h"
#include "persistence/deposit/deposit_writer.h"

namespace tallix {

// The window's wording of what the analysis has to say: the text of its message box.
std::string MessageText(const AnalysisReason& reason);

// What the export command says once it has tried to write the deposit at `path`: its summary
// and the members it could not read, or why nothing was written.
std::string DepositMessage(const DepositResult& result, const std::string& path);

}  // namespace tallix
