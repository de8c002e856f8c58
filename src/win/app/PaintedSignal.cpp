#include "app/PaintedSignal.h"

#include "main/MainPanel.h"

namespace mivra::win {
namespace {

HANDLE OpenNamedEvent(const std::wstring& name) { return OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str()); }

}  // namespace

PaintedSignal::PaintedSignal() {
    wchar_t name[128] = {};
    const DWORD n = GetEnvironmentVariableW(L"MIVRA_PAINTED_EVENT", name, 128);
    if (n == 0 || n >= 128) return;
    group_.reset(OpenNamedEvent(std::wstring(name) + L".group"));
    icons_.reset(OpenNamedEvent(std::wstring(name) + L".icons"));
}

void PaintedSignal::Check(const MainPanel* panel) {
    if ((!group_ && !icons_) || !panel) return;
    if (group_ && panel->GroupPainted(false)) {
        SetEvent(group_.get());
        group_.reset();
    }
    if (icons_ && !group_ && panel->GroupPainted(true)) {
        SetEvent(icons_.get());
        icons_.reset();
    }
}

}  // namespace mivra::win
