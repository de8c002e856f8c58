#include "app/HotKeyText.h"

#include <gtest/gtest.h>

#include "IconvCodePage.h"
#include "config/Options.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

TEST(HotKeyText, ComposesPrefixAndKeyName) {
    struct Case { int shiftMask, keyCode; std::wstring_view text; bool canEnable; };
    for (auto [shiftMask, keyCode, text, canEnable] : {
             Case{6, 70, L"Ctrl+Alt+F", true},
             Case{0, 123, L"F12", false},
             Case{4, 18, L"Alt+", false},  // Alt alone
             Case{1, 16, L"Shift+", false},
             Case{2, 17, L"Ctrl+", false},
             Case{3, 49, L"Shift+Ctrl+1", true},
             Case{5, 121, L"Shift+Alt+F10", true},
             Case{7, 32, L"Shift+Ctrl+Alt+[Space]", true},
             Case{2, 192, L"Ctrl+`", true},
             Case{4, 48, L"Alt+0", true},
             Case{4, 57, L"Alt+9", true},
             Case{4, 58, L"Alt+", false},  // 58 to 64 are no keys
             Case{4, 64, L"Alt+", false},
             Case{4, 65, L"Alt+A", true},
             Case{4, 90, L"Alt+Z", true},
             Case{4, 97, L"Alt+", false},  // Num 1, not "a"
             Case{4, 111, L"Alt+", false},
             Case{4, 112, L"Alt+F1", true},
             Case{4, 124, L"Alt+", false},  // F13
             Case{4, 191, L"Alt+", false},
             Case{4, 193, L"Alt+", false},
             Case{0, 0, L"", false},
             Case{4, -1, L"Alt+", false},
             Case{4, 256 + 65, L"Alt+", false},
             Case{8 + 4, 65, L"Alt+A", true},  // bits beyond Alt are no modifiers
         }) {
        EXPECT_EQ(ComposeHotKeyText(shiftMask, keyCode), text) << shiftMask << " " << keyCode;
        EXPECT_EQ(CanEnableHotKey(text), canEnable) << std::wstring(text);
    }
}

TEST(HotKeyText, ParsesStoredTextsStrictly) {
    struct Case { std::wstring_view text; std::optional<HotKeyCombination> combination; };
    const std::optional<HotKeyCombination> none;
    for (auto [text, combination] : {
             Case{kDefaultHotKeyText, HotKeyCombination{1, 49}},
             Case{L"Ctrl+Alt+F", HotKeyCombination{3, 70}},
             Case{L"Shift+Alt+F10", HotKeyCombination{5, 121}},
             Case{L"Alt+F1", HotKeyCombination{1, 112}},
             Case{L"Alt+F11", HotKeyCombination{1, 122}},
             Case{L"Alt+F12", HotKeyCombination{1, 123}},
             Case{L"Shift+Ctrl+Alt+[Space]", HotKeyCombination{7, 32}},
             Case{L"Shift+Ctrl+Z", HotKeyCombination{6, 90}},
             Case{L"Ctrl+`", HotKeyCombination{2, 192}},
             Case{L"Shift+F5", HotKeyCombination{4, 116}},  // types nothing
             // Shift alone with a typing key.
             Case{L"Shift+A", none},
             Case{L"Shift+1", none},
             Case{L"Shift+[Space]", none},
             Case{L"Shift+`", none},
             // Not a combination.
             Case{L"", none},
             Case{L"Alt+", none},
             Case{L"F5", none},
             Case{L"A", none},
             Case{L"alt+1", none},
             Case{L"Alt+a", none},
             Case{L"Alt+F13", none},
             Case{L"Alt+F1x", none},
             Case{L"Alt+F0", none},
             Case{L"Alt+F01", none},
             Case{L"Alt+:", none},
             Case{L"Alt+[space]", none},
             Case{L"Ctrl+Shift+A", none},
             Case{L"Alt+Ctrl+A", none},
             Case{L"Alt+1 ", none},
             Case{L" Alt+1", none},
             Case{L"Alt+Alt+1", none},
             Case{L"Alt+12", none},
             Case{L"+1", none},
             Case{L"Win+1", none},
             Case{std::wstring_view(L"Alt+1\0", 6), none},
         })
        EXPECT_EQ(ParseHotKeyText(text), combination) << std::wstring(text);
}

TEST(HotKeyText, RefusesShiftAloneWithATypingKey) {
    struct Case { HotKeyCombination combination; bool refused; };
    for (auto [combination, refused] : {
             Case{{4, 65}, true},
             Case{{4, 48}, true},
             Case{{4, 32}, true},
             Case{{4, 192}, true},
             Case{{4, 112}, false},
             Case{{4, 123}, false},
             Case{{5, 65}, false},
             Case{{6, 65}, false},
             Case{{1, 65}, false},
         })
        EXPECT_EQ(TakesTypedCharacter(combination), refused) << combination.modifiers << " " << combination.key;
}

// Every key press the box can see: what it shows registers as the press
// itself, or not at all when a modifier or a key is missing or the
// combination takes a typed character.
TEST(HotKeyText, ComposedTextsParseToTheirKeyPress) {
    for (int shiftMask = 0; shiftMask <= 7; ++shiftMask) {
        for (int keyCode = 0; keyCode <= 255; ++keyCode) {
            const unsigned modifiers = (shiftMask & 1 ? 4u : 0) | (shiftMask & 2 ? 2u : 0) | (shiftMask & 4 ? 1u : 0);
            const bool functionKey = keyCode >= 112 && keyCode <= 123;
            const bool named = keyCode == 32 || keyCode == 192 || functionKey || (keyCode >= 48 && keyCode <= 57) ||
                               (keyCode >= 65 && keyCode <= 90);
            const bool registrable = named && shiftMask != 0 && (shiftMask != 1 || functionKey);
            const std::optional<HotKeyCombination> expected =
                registrable ? std::optional(HotKeyCombination{modifiers, static_cast<unsigned>(keyCode)}) : std::nullopt;
            const std::wstring text = ComposeHotKeyText(shiftMask, keyCode);
            EXPECT_EQ(ParseHotKeyText(text), expected) << shiftMask << " " << keyCode;
            EXPECT_EQ(CanEnableHotKey(text), named && shiftMask != 0) << shiftMask << " " << keyCode;
        }
    }
}

TEST(HotKeyText, DefaultIsTheStoredDefault) {
    const test::IconvCodePage gbk("CP936");
    EXPECT_EQ(EncodeText(gbk, kDefaultHotKeyText), EntryOf(Opt::HotKey).defaultValue);
}

}  // namespace
}  // namespace mivra
