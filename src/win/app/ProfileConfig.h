#pragma once
// The few configuration keys that start-up and shut-down need, read and
// written through the private-profile functions of section "Config".

#include <optional>
#include <string>
#include <string_view>

namespace mivra::win {

int ReadConfigInt(const std::wstring& configFile, const wchar_t* key, int defaultValue);

// nullopt removes the key. Returns false when the file could not be written.
bool WriteConfigValue(const std::wstring& configFile, const wchar_t* key, std::optional<std::wstring> value);

}  // namespace mivra::win
