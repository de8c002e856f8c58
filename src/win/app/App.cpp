#include "app/App.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "app/AppVersion.h"
#include "app/Messages.h"
#include "base/WinCodePage.h"
#include "config/BackupFiles.h"
#include "config/DataLoading.h"
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
    OpenConfiguration();
    if (HandOverToRunningInstance()) return false;

    SetLocked(true);
    if (!CreateForms()) return false;
    AcceptDroppedFiles();
    LoadConfig();
    SetLocked(false);

    ShowPanelAtStart();
    LoadData();
    return true;
}

void App::SetLocked(bool locked) {
    isLocked_ = locked;
    config_->SetStartingUp(locked);
}

void App::OpenConfiguration() {
    storage_ = std::make_unique<FileConfigStorage>(files_.configFile);
    config_ = std::make_unique<Configuration>(SystemCodePage(), *storage_, balloon_);
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
    const long handle = std::wcstol(config_->GetConfigInt(L"Handle", 0).c_str(), nullptr, 10);
    return HandOverTo(reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)));
}

bool App::CreateForms() {
    main_ = std::make_unique<MainPanel>(
        instance_, MainPanel::Events{[this] { OnMainPanelDestroyed(); },
                                     [this](LPARAM event) { balloon_.OnTrayCallback(event); }});
    if (!main_->Create(DefaultPanelBounds())) return false;
    balloon_.Attach(main_->hwnd(), LoadIconW(instance_, MAKEINTRESOURCEW(1)));
    return true;
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
    config_->SetConfig(L"Version", MIVRA_VERSION_WTEXT, L"", true);
    const auto handle = static_cast<long>(reinterpret_cast<LONG_PTR>(main_->hwnd()));
    config_->SetConfig(L"Handle", std::to_wstring(handle), L"", true);
    config_->LoadOptions();
    MakeDailyBackup(files_.programDir, files_.configFile, config_->Int(L"MaxBackups"), LocalNow());
}

void App::LoadData() {
    StartData data = LoadDataAtStart(*config_, files_.configFile,
                                     [this](const std::wstring& text) { ShowMessage(text, MB_ICONERROR); });
    groups_ = std::move(data.groups);
}

void App::SaveData() {
    const Configuration::SaveResult result = config_->SaveGroups(groups_);
    if (!result.lossy.empty()) {
        std::wstring names;
        for (const LossyText& lossy : result.lossy)
            names += L"\r\n" + lossy.group + (lossy.item.empty() ? L"" : L" → " + lossy.item);
        balloon_.ShowBalloon(L"以下名称含有系统编码无法保存的字符，已保存为“?”：" + names);
    }
}

void App::ShowPanelAtStart() {
    // Started to the tray, the panel waits for the tray icon, the hotkey or
    // a second start.
    if (!config_->Flag(L"StartToTray")) main_->ShowPanel();
}

void App::ShutDown() {
    if (shuttingDown_) return;
    shuttingDown_ = true;
    config_->SetConfig(L"Handle", L"", L"", false);
    // The selected group (ActivatedTab) is stored here once there is a group bar.
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
