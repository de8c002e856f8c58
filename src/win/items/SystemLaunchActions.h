#pragma once
// Starting items for real: the second instance through the shell, and the
// system functions (questions are message boxes owned by the main panel).

#include <windows.h>

#include <functional>

#include "items/ItemLaunch.h"

namespace mivra::win {

class SystemLaunchActions final : public LaunchActions {
public:
    // `owner` is the main panel: it owns the questions and receives the
    // display-off command. `openSettings` shows the settings window; `tell`
    // shows a balloon.
    SystemLaunchActions(HWND owner, std::function<void()> openSettings, std::function<void(std::wstring_view)> tell)
        : owner_(owner), openSettings_(std::move(openSettings)), tell_(std::move(tell)) {}

    void StartProgram(const std::wstring& programFile, const std::wstring& arguments) override;
    void OpenSettings() override;
    void EmptyRecycleBin() override;
    void DisplayOff() override;
    void LockWorkstation() override;
    bool Confirm(std::wstring_view question) override;
    void ExitSystem(ExitMode mode) override;
    void OpenSpecialFolder(SpecialFolder folder) override;
    bool Exists(const std::wstring& path) override;
    void TellNotStarted(std::wstring_view text) override { tell_(text); }

private:
    HWND owner_;
    std::function<void()> openSettings_;
    std::function<void(std::wstring_view)> tell_;
};

}  // namespace mivra::win
