#pragma once
// LoadSkin: applies the installed skin file at start-up. A skin file that was
// not installed by the program (its check value does not match its time) or
// that was read and refused is deleted, and the program starts again with
// its own look. A skin or a configuration that cannot be read for the moment
// leaves the program's own look for this run and deletes nothing.

#include <string>

#include "config/Configuration.h"
#include "main/PanelLook.h"

namespace mivra::win {

enum class SkinLoad {
    None,     // no skin file, or none that can be read now: the program's own look
    Applied,  // the skin is in place
    Refused,  // the file was refused and deleted
};

inline constexpr wchar_t kSkinFailedBalloon[] = L"皮肤加载失败，请重新更换皮肤。";

SkinLoad LoadSkin(const std::wstring& skinFile, Configuration& config, const AnsiCodePage& codePage,
                  PanelLook& look);

// The check value for the skin file as it is on disk now; empty when the
// file cannot be examined. The skin download stores it after installing.
std::wstring CurrentSkinCheckValue(const std::wstring& skinFile);

}  // namespace mivra::win
