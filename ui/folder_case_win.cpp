#include "ui/dialog_paths.h"

namespace tallix {

FolderCase PlatformFolderCase() {
    return FolderCase::UpperCased;
}

}  // namespace tallix
