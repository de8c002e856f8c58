// The base of every window class: a window and its object end together,
// FromHandle knows only its own windows, and an exception thrown by a
// handler is stopped, noted and leaves the window working.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>

#include "base/StoppedExceptions.h"
#include "base/Window.h"

namespace mivra::test {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;

// What reached the probe, kept outside it so that it can be read after the probe is gone.
struct ProbeLog {
    bool objectGone = false;
    bool destroyedWhole = false;  // WM_DESTROY came while the object was whole
    int messagesAfterItWasGone = 0;
};

class Probe final : public win::Window<Probe> {
public:
    explicit Probe(ProbeLog& log) : log_(&log) {}
    ~Probe() { log_->objectGone = true; }

    bool Create() {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"MivraTestProbe";
        return RegisterClassOnce(GetModuleHandleW(nullptr), wc) &&
               CreateAs(0, L"MivraTestProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr, GetModuleHandleW(nullptr));
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (log_->objectGone) ++log_->messagesAfterItWasGone;
        if (message == WM_DESTROY && !log_->objectGone) log_->destroyedWhole = true;
        if (message == kThrow) throw std::runtime_error("a handler failed");
        if (message == kAnswer) return 42;
        return Default(message, wParam, lParam);
    }

private:
    ProbeLog* log_;
};

TEST(Window, AThrowingHandlerLeavesTheWindowAliveAndCounted) {
    ProbeLog log;
    auto probe = win::MakeWindow<Probe>(log);
    ASSERT_TRUE(probe->Create());
    const long before = win::StoppedExceptionCount();
    SendMessageW(probe->hwnd(), kThrow, 0, 0);
    EXPECT_EQ(win::StoppedExceptionCount(), before + 1);
    EXPECT_TRUE(IsWindow(probe->hwnd()));
    EXPECT_EQ(SendMessageW(probe->hwnd(), kAnswer, 0, 0), 42) << "the window still handles its messages";
}

TEST(Window, FromHandleKnowsOnlyItsOwnWindows) {
    ProbeLog log;
    auto probe = win::MakeWindow<Probe>(log);
    ASSERT_TRUE(probe->Create());
    EXPECT_EQ(Probe::FromHandle(probe->hwnd()), probe.get());
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(probe.get()));
    EXPECT_EQ(Probe::FromHandle(other), nullptr) << "a window of another class, whatever its user data";
    EXPECT_EQ(Probe::FromHandle(nullptr), nullptr);
    DestroyWindow(other);
    HWND gone = probe->hwnd();
    DestroyWindow(gone);
    EXPECT_EQ(Probe::FromHandle(gone), nullptr);
}

TEST(Window, AWindowEndsBeforeItsObjectAndNeverSpeaksToWhatIsLeft) {
    ProbeLog owned;
    auto probe = win::MakeWindow<Probe>(owned);
    ASSERT_TRUE(probe->Create());
    HWND window = probe->hwnd();
    probe.reset();
    EXPECT_TRUE(owned.destroyedWhole) << "its owner destroys the window while the object is whole";
    EXPECT_FALSE(IsWindow(window));

    // An object freed with its window still there: the window goes too, and
    // none of its last messages reaches the object's remains.
    ProbeLog freed;
    auto plain = std::make_unique<Probe>(freed);
    ASSERT_TRUE(plain->Create());
    window = plain->hwnd();
    plain.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(freed.messagesAfterItWasGone, 0);
}

}  // namespace
}  // namespace mivra::test
