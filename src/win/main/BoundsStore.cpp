#include "main/BoundsStore.h"

#include "base/Gdi.h"

#include "base/System.h"
#include "layout/PanelBounds.h"

namespace mivra::win {
namespace {

// How long moves the program makes itself are gathered before they are stored.
constexpr UINT kGatherMs = 500;
// A file held by another program is tried this many times, a moment apart.
constexpr int kAttempts = 10;

}  // namespace

void BoundsStore::Attach(HWND panel, UINT_PTR timerId) {
    panel_ = panel;
    timerId_ = timerId;
}

void BoundsStore::Moved() {
    // Before the panel was first shown it is only being placed; a minimised
    // panel's rectangle is not the one to come back to.
    if (!panel_ || !IsWindowVisible(panel_) || IsIconic(panel_)) return;
    pending_ = true;
    attemptsLeft_ = kAttempts;
    if (!inGesture_) Later();
}

void BoundsStore::GestureEnded() {
    inGesture_ = false;
    if (pending_ && !Store(Patience::DoNotWait)) Later();
}

void BoundsStore::OnTimer() {
    KillTimer(panel_, timerId_);
    if (!pending_ || inGesture_) return;
    if (!Store(Patience::DoNotWait) && --attemptsLeft_ > 0) Later();
}

void BoundsStore::Flush() {
    if (panel_) KillTimer(panel_, timerId_);
    if (pending_) Store(Patience::WaitBriefly);
}

bool BoundsStore::Store(Patience patience) {
    RECT window{};
    if (!GetWindowRect(panel_, &window)) return false;
    const int tpp = TwipsPerPixel();
    const bool stored = config_.SetConfig(Opt::Size, FormatStoredBounds(ToBox(window), tpp, tpp), L"", false, patience);
    // A locked configuration takes nothing, however often it is asked.
    if (stored || config_.IsLocked()) pending_ = false;
    return !pending_;
}

void BoundsStore::Later() { SetTimer(panel_, timerId_, kGatherMs, nullptr); }

}  // namespace mivra::win
