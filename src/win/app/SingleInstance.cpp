#include "app/SingleInstance.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "app/Messages.h"
#include "text/Crc32.h"

namespace mivra::win {
namespace {

// A named object per executable path (letter case folded, as Windows paths
// are): two copies of the program in different folders run side by side.
std::wstring MarkName(std::wstring_view programFile) {
    std::wstring upper(programFile);
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    auto bytes = reinterpret_cast<const std::uint8_t*>(upper.data());
    std::uint32_t crc = Crc32({bytes, upper.size() * sizeof(wchar_t)});
    return L"Local\\Mivra.Running." + CrcHex(crc) + L"." + std::to_wstring(upper.size());
}

}  // namespace

SingleInstance::SingleInstance(std::wstring_view programFile)
    : mark_(CreateMutexW(nullptr, FALSE, MarkName(programFile).c_str())) {
    otherWasRunning_ = mark_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool HandOverTo(HWND panel) {
    if (!panel || !IsWindow(panel)) return false;
    // After a crash the stored handle may name some other program's window.
    wchar_t className[64] = {};
    if (!GetClassNameW(panel, className, 64) || std::wstring_view(className) != kMainPanelClass) return false;
    // A window that never answers (its thread hangs) must not hold the
    // start back for longer than this.
    DWORD timeoutMs = 10000;
    wchar_t text[16] = {};
    if (const DWORD n = GetEnvironmentVariableW(L"MIVRA_HANDOVER_TIMEOUT_MS", text, 16); n > 0 && n < 16)
        timeoutMs = std::clamp<DWORD>(static_cast<DWORD>(std::wcstoul(text, nullptr, 10)), 1, 10000);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(panel, kShowPanelMessage, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer)) return false;
    return answer == 1;
}

}  // namespace mivra::win
