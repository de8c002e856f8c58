#include "app/BenchSignals.h"

#include <string>

#include "main/MainPanel.h"

namespace mivra::win {
namespace {

HANDLE OpenNamedEvent(const std::wstring& name) { return OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str()); }

}  // namespace

BenchSignals::BenchSignals() {
    wchar_t buffer[128] = {};
    const DWORD n = GetEnvironmentVariableW(L"MIVRA_BENCH_SIGNALS", buffer, 128);
    if (n == 0 || n >= 128) return;
    const std::wstring name(buffer);
    group_.reset(OpenNamedEvent(name + L".group"));
    icons_.reset(OpenNamedEvent(name + L".icons"));
    shown_.reset(OpenNamedEvent(name + L".shown"));
    ticksBlock_.reset(OpenFileMappingW(FILE_MAP_WRITE, FALSE, (name + L".ticks").c_str()));
    if (ticksBlock_) ticksView_.reset(MapViewOfFile(ticksBlock_.get(), FILE_MAP_WRITE, 0, 0, sizeof(BenchTimerTicks)));
    ticks_ = static_cast<BenchTimerTicks*>(ticksView_.get());
    if (ticks_) InterlockedExchange(&ticks_->attached, 1);
}

void BenchSignals::Taken(const MSG& msg, const MainPanel* panel) {
    if (ticks_) ticks_->Count(msg);
    if (shown_ && panel && !IsWindowVisible(panel->hwnd())) showing_ = true;
}

void BenchSignals::Check(const MainPanel* panel) {
    if ((!group_ && !icons_ && !shown_) || !panel) return;
    if (group_ && panel->GroupPainted(false)) {
        SetEvent(group_.get());
        group_.reset();
    }
    if (icons_ && !group_ && panel->GroupPainted(true)) {
        SetEvent(icons_.get());
        icons_.reset();
    }
    if (!shown_ || group_ || icons_ || !showing_) return;
    if (IsWindowVisible(panel->hwnd()) && panel->GroupPainted(true)) {
        showing_ = false;
        SetEvent(shown_.get());
    }
}

}  // namespace mivra::win
