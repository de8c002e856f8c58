// The stored hotkey text (the configuration file is anyone's to edit) on
// arbitrary text: what is read as a combination is exactly what the settings
// box shows for that key press, and may be switched on there.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzText.h"
#include "app/HotKeyText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::wstring text = mivra::test::FuzzText(data, size);
    const std::optional<mivra::HotKeyCombination> combination = mivra::ParseHotKeyText(text);
    if (!combination) return 0;
    if (combination->modifiers == 0 || combination->modifiers > 7 || combination->key > 255) std::abort();
    if (mivra::TakesTypedCharacter(*combination) || !mivra::CanEnableHotKey(text)) std::abort();
    // Registration's Alt 1, Ctrl 2, Shift 4 as the box's Shift 1, Ctrl 2, Alt 4.
    const unsigned m = combination->modifiers;
    const int shiftMask = (m & 4 ? 1 : 0) | (m & 2 ? 2 : 0) | (m & 1 ? 4 : 0);
    if (mivra::ComposeHotKeyText(shiftMask, static_cast<int>(combination->key)) != text) std::abort();
    return 0;
}
