#pragma once
// The keys the main panel handles before its focused child, and the typed
// characters that start a search.

namespace mivra {

// Modifiers as the panel compares them: exactly this set held.
enum KeyModifier : unsigned { kNoModifier = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

enum class PanelKey {
    None,           // left to the focused child
    Escape,         // leave search mode, or hide the panel
    NextGroup,      // Tab
    PreviousGroup,  // Ctrl+Tab
    Memo,           // Alt+E
};

// `keyCode` is the system's virtual-key code, `modifiers` the KeyModifier bits held.
PanelKey PanelKeyFor(unsigned keyCode, unsigned modifiers);

// "<", ">", a digit, ":" or a letter A-Z or a-z: typing one starts a search.
bool StartsSearch(wchar_t character);

}  // namespace mivra
