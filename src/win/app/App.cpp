#include "app/App.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/AppVersion.h"
#include "app/Messages.h"
#include "app/ProfileConfig.h"
#include "main/MainPanel.h"

namespace mivra::win {

App::App(HINSTANCE instance) : instance_(instance) {}

App::~App() = default;

int App::Run() {
    if (!StartUp()) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        retired_.clear();
    }
    retired_.clear();
    return 0;
}

bool App::StartUp() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    files_ = FileLocations::ForExecutable(ExecutablePath());
    os_ = ReadOsVersion();
    if (RefuseSystemDirectory()) return false;
    if (HandOverToRunningInstance()) return false;

    isLocked_ = true;
    if (!CreateForms()) return false;
    AcceptDroppedFiles();
    LoadConfig();
    isLocked_ = false;

    ShowPanelAtStart();
    return true;
}

bool App::RefuseSystemDirectory() {
    if (!os_.IsVistaOrLater()) return false;
    if (!IsInRefusedDirectory(files_.programFile, RefusedDirectories(SystemEnvironment()))) return false;
    MessageBoxW(nullptr, RefusalMessage(SystemEnvironment()).c_str(), kAppTitle, MB_ICONINFORMATION);
    return true;
}

bool App::HandOverToRunningInstance() {
    if (!running_) running_.emplace(files_.programFile);
    if (!running_->OtherWasRunning()) return false;
    auto panel = reinterpret_cast<HWND>(static_cast<LONG_PTR>(ReadConfigInt(files_.configFile, L"Handle", 0)));
    return HandOverTo(panel);
}

bool App::CreateForms() {
    main_ = std::make_unique<MainPanel>(instance_, MainPanel::Events{[this] { OnMainPanelDestroyed(); }});
    return main_->Create(DefaultPanelBounds());
}

void App::AcceptDroppedFiles() {
    DragAcceptFiles(main_->hwnd(), TRUE);
    // Let files be dropped from processes of lower integrity.
    if (os_.IsVistaOrLater()) {
        ChangeWindowMessageFilter(WM_DROPFILES, MSGFLT_ADD);
        ChangeWindowMessageFilter(WM_COPYDATA, MSGFLT_ADD);
        ChangeWindowMessageFilter(0x0049 /* WM_COPYGLOBALDATA */, MSGFLT_ADD);
    }
}

void App::LoadConfig() {
    // Written at every start, even with the configuration locked: a second
    // start finds this instance through `Handle`.
    WriteConfigValue(files_.configFile, L"Version", std::wstring(MIVRA_VERSION_WTEXT));
    const auto handle = static_cast<long>(reinterpret_cast<LONG_PTR>(main_->hwnd()));
    WriteConfigValue(files_.configFile, L"Handle", std::to_wstring(handle));
}

void App::ShowPanelAtStart() {
    main_->ShowPanel();
}

void App::ShutDown() {
    if (shuttingDown_) return;
    shuttingDown_ = true;
    WriteConfigValue(files_.configFile, L"Handle", std::nullopt);
    if (main_) {
        main_->Close();
        retired_.push_back(std::move(main_));
    }
    shuttingDown_ = false;
    if (!restarting_) PostQuitMessage(0);
}

void App::Restart() {
    restarting_ = true;
    ShutDown();
    restarting_ = false;
    if (!StartUp()) PostQuitMessage(0);
}

int App::ShowMessage(std::wstring_view text, UINT style) const {
    return MessageBoxW(main_ ? main_->hwnd() : nullptr, std::wstring(text).c_str(), kAppTitle, style);
}

void App::OnMainPanelDestroyed() {
    ShutDown();
}

}  // namespace mivra::win
