#pragma once
// Rewriting the stored paths of items between absolute and portable forms.

#include <string_view>
#include <vector>

#include "data/Group.h"

namespace mivra {

// On the path and then the icon path of every item. Mode 1 makes paths on the
// program's drive portable ("%rp%\..." or "%rr%\..."); mode 2 turns a path
// starting with "%rp%" or "%rr%" (any case) back into an absolute one. Other
// modes do nothing. Returns whether any value changed.
bool ConvertItems(std::vector<ItemRecord>& items, int mode, std::wstring_view programDir);

}  // namespace mivra
