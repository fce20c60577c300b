#pragma once

#include <ostream>

#include "cli/project_count.h"

namespace tallix::cli {

// The results as one UTF-8 JSON document. Bytes that are not UTF-8 (a project path given in
// another encoding) are replaced rather than breaking the document.
void WriteJson(const ProjectCount& count, std::ostream& out);

}  // namespace tallix::cli
