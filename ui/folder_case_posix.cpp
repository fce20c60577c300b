#include "ui/dialog_paths.h"

namespace tallix {

FolderCase PlatformFolderCase() {
    return FolderCase::Kept;
}

}  // namespace tallix
