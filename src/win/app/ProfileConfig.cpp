#include "app/ProfileConfig.h"

#include <windows.h>

namespace mivra::win {

int ReadConfigInt(const std::wstring& configFile, const wchar_t* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntW(L"Config", key, defaultValue, configFile.c_str()));
}

bool WriteConfigValue(const std::wstring& configFile, const wchar_t* key, std::optional<std::wstring> value) {
    return WritePrivateProfileStringW(L"Config", key, value ? value->c_str() : nullptr, configFile.c_str()) != 0;
}

}  // namespace mivra::win
