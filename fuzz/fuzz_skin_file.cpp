// The skin reader on arbitrary file bytes: it either refuses with a reason or
// gives a skin with an item picture, and colours stay within 24 bits.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IconvCodePage.h"
#include "skin/SkinFile.h"

namespace {

bool InRange(mivra::Color c) { return c <= 0xFFFFFF; }

void CheckColor(const std::optional<mivra::Color>& color) {
    if (color && (!InRange(*color) || mivra::SearchBackground(*color) > *color)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const mivra::test::IconvCodePage codePage("CP936");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const mivra::SkinParse parse = mivra::ParseSkinFile(codePage, bytes);
    if (parse.skin.has_value() != (parse.error == mivra::SkinError::None)) std::abort();
    if (parse.skin) {
        const mivra::Skin& skin = *parse.skin;
        if (skin.name.empty() || skin.picItem.empty()) std::abort();
        for (mivra::Color c : {skin.bgColor, skin.fgColor, skin.bdColor, skin.tabBdColor, skin.tabFgColor,
                               skin.tabFgColor2, skin.itemFgColor})
            CheckColor(c);
    }

    // The colour reader straight on the text, from its start up to a line end
    // and up to a ";".
    const std::wstring text = codePage.FromAnsi(bytes);
    CheckColor(mivra::ParseColor(text, L""));
    CheckColor(mivra::ParseColor(text, L"=", L";"));
    return 0;
}
