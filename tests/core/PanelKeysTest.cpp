#include "app/PanelKeys.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

TEST(PanelKeys, OnlyExactModifiersMakeAPanelKey) {
    struct Case { unsigned key, modifiers; PanelKey action; };
    const Case cases[] = {
        {27, kNoModifier, PanelKey::Escape},  {27, kShift, PanelKey::None},
        {9, kNoModifier, PanelKey::NextGroup}, {9, kCtrl, PanelKey::PreviousGroup},
        {9, kCtrl | kShift, PanelKey::None},   {9, kAlt, PanelKey::None},
        {69, kAlt, PanelKey::Memo},            {69, kAlt | kCtrl, PanelKey::None},
        {69, kNoModifier, PanelKey::None},     {13, kNoModifier, PanelKey::None},
    };
    for (const Case& c : cases) EXPECT_EQ(PanelKeyFor(c.key, c.modifiers), c.action) << c.key << "/" << c.modifiers;
}

TEST(PanelKeys, LettersDigitsAndCommandCharactersStartASearch) {
    for (wchar_t c : std::wstring_view(L"<>09:AZaz")) EXPECT_TRUE(StartsSearch(c)) << static_cast<int>(c);
    for (wchar_t c : std::wstring_view(L"!;@[`{ \x4e2d")) EXPECT_FALSE(StartsSearch(c)) << static_cast<int>(c);
}

}  // namespace
}  // namespace mivra
