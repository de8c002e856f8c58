#include "main/SkinLoading.h"

#include "base/Files.h"

namespace mivra::win {
namespace {

void Forget(const std::wstring& skinFile, Configuration& config) {
    DeleteFileW(skinFile.c_str());
    config.SetConfig(Opt::SkinCheck, L"", L"", true);
}

}  // namespace

std::wstring CurrentSkinCheckValue(const std::wstring& skinFile) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(skinFile.c_str(), GetFileExInfoStandard, &data)) return L"";
    const std::uint64_t time =
        (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return SkinCheckValue(time);
}

SkinLoad LoadSkin(const std::wstring& skinFile, Configuration& config, const AnsiCodePage& codePage,
                  PanelLook& look) {
    if (GetFileAttributesW(skinFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
        look.skinName = L"Default";
        config.SetConfig(Opt::SkinCheck, L"", L"", true);
        return SkinLoad::None;
    }
    const std::wstring check = config.GetConfigStr(Opt::SkinCheck, L"");
    // Without the configuration the skin's check value is unknown: the
    // program's own look until it can be read, and the skin stays.
    if (config.Unreadable()) return SkinLoad::None;
    // Only a skin the program installed itself is applied.
    if (CurrentSkinCheckValue(skinFile) != check) {
        Forget(skinFile, config);
        return SkinLoad::Refused;
    }
    std::string bytes;
    // A skin held by another program for a moment is not refused: it is
    // tried again at the next start.
    if (ReadWholeFilePatiently(skinFile, bytes) != ReadOutcome::Read) return SkinLoad::None;
    const SkinParse parsed = ParseSkinFile(codePage, bytes);
    if (!parsed.skin) {
        Forget(skinFile, config);
        return SkinLoad::Refused;
    }
    look.ApplySkin(*parsed.skin);
    // A skin named "Default" brings the program's look back: it is shown
    // until the program ends and the next start has no skin.
    if (parsed.skin->name == L"Default") Forget(skinFile, config);
    return SkinLoad::Applied;
}

}  // namespace mivra::win
