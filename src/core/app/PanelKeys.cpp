#include "app/PanelKeys.h"

namespace mivra {
namespace {

constexpr unsigned kTabKey = 9, kEscapeKey = 27, kEKey = 69;

}  // namespace

PanelKey PanelKeyFor(unsigned keyCode, unsigned modifiers) {
    if (keyCode == kEscapeKey && modifiers == kNoModifier) return PanelKey::Escape;
    if (keyCode == kTabKey && modifiers == kNoModifier) return PanelKey::NextGroup;
    if (keyCode == kTabKey && modifiers == kCtrl) return PanelKey::PreviousGroup;
    if (keyCode == kEKey && modifiers == kAlt) return PanelKey::Memo;
    return PanelKey::None;
}

bool StartsSearch(wchar_t c) {
    return c == L'<' || c == L'>' || (c >= L'0' && c <= L':') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace mivra
