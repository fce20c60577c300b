#pragma once

namespace tallix {

// The kind of project being analysed; it picks both the project reader and the line counter.
enum class SourceKind { None, Vb6, VbNet };

}  // namespace tallix
