#pragma once
// "打开文件位置": opens the folder that holds an item's target, with the
// target selected.

#include <string>

#include "base/System.h"

namespace mivra::win {

// `resolvedPath` is the item's path after resolution. False when the shell
// could not be asked (no such path, no folder window).
bool OpenFolderOf(const std::wstring& resolvedPath, const OsVersion& os);

}  // namespace mivra::win
