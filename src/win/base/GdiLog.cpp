#include "base/GdiLog.h"

#include <unordered_set>

namespace mivra::win {
namespace {

GdiLog* installed = nullptr;

}  // namespace

GdiLog::GdiLog() { installed = this; }

GdiLog::~GdiLog() {
    if (installed == this) installed = nullptr;
}

void GdiLog::Note(HANDLE object) {
    if (installed && object) installed->made_.push_back(object);
}

size_t GdiLog::Alive() const {
    // A freed handle may be given out again: count each value once.
    std::unordered_set<HANDLE> alive;
    for (HANDLE object : made_)
        if (GetObjectType(object) != 0) alive.insert(object);
    return alive.size();
}

}  // namespace mivra::win
