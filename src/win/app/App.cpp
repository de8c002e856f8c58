#include "app/App.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "app/AppVersion.h"
#include "app/BenchSignals.h"
#include "app/HotKeyText.h"
#include "app/Messages.h"
#include "base/WinCodePage.h"
#include "config/BackupFiles.h"
#include "config/DataLoading.h"
#include "items/ItemEdits.h"
#include "items/SystemIcons.h"
#include "items/SystemLaunchActions.h"
#include "layout/PanelBounds.h"
#include "main/MainPanel.h"
#include "main/SkinLoading.h"
#include "text/TextCoder.h"

namespace mivra::win {
namespace {

constexpr wchar_t kGroupsUnreadBalloon[] =
    L"分组数据无法读取（配置文件被其他程序占用）。本次运行中对分组的更改不会保存，请稍后重新启动 Mivra。";

}  // namespace

App::App(HINSTANCE instance, std::wstring programFile)
    : instance_(instance), programFile_(programFile.empty() ? ExecutablePath() : std::move(programFile)) {}

// The windows go first, while everything their last messages call on is
// still there (ShutDown runs from the panel's WM_NCDESTROY).
App::~App() { DiscardForms(); }

int App::Run() {
    if (!StartUp()) return 0;
    BenchSignals bench;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        bench.Taken(msg, main_.get());
        if (!main_ || !main_->PreviewMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        retired_.clear();
        retiredLooks_.clear();
        bench.Check(main_.get());
    }
    retired_.clear();
    retiredLooks_.clear();
    return 0;
}

bool App::StartUp() {
    files_ = FileLocations::ForExecutable(programFile_);
    os_ = ReadOsVersion();
    if (RefuseSystemDirectory()) return false;
    OpenConfiguration();
    if (HandOverToRunningInstance()) return false;

    SetLocked(true);
    if (!CreateForms()) return false;
    if (LoadSkin(files_.skinFile, *config_, SystemCodePage(), *look_) == SkinLoad::Refused) {
        // Once more from the top, with the program's own look: the refused
        // skin file is gone by now.
        DiscardForms();
        const bool started = StartUp();
        tray_.ShowBalloon(kSkinFailedBalloon);
        return started;
    }
    AcceptDroppedFiles();
    LoadConfig();
    main_->ApplyStoredOptions();
    SetLocked(false);

    main_->FormResize();
    ShowPanelAtStart();
    // The data is loaded by the first tick, once the panel is on the screen.
    main_->StartPing();
    return true;
}

void App::DiscardForms() {
    main_.reset();
    retired_.clear();
    look_.reset();
    retiredLooks_.clear();
}

const AnsiCodePage& App::CodePage() { return SystemCodePage(); }

void App::SetLocked(bool locked) {
    isLocked_ = locked;
    config_->SetStartingUp(locked);
}

void App::OpenConfiguration() {
    storage_ = std::make_unique<FileConfigStorage>(files_.configFile);
    config_ = std::make_unique<Configuration>(SystemCodePage(), *storage_, tray_);
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
    const long handle = config_->GetConfigInt(Opt::Handle, 0);
    return HandOverTo(reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)));
}

bool App::CreateForms() {
    look_ = std::make_unique<PanelLook>(PanelLook::BuiltIn());
    if (!icons_)
        icons_ = std::make_unique<SystemIcons>(files_.programFile,
                                               EnvironmentVariable(L"ProgramFiles").value_or(L"C:\\Program Files"));
    main_ = MakeWindow<MainPanel>(instance_, *this, *look_);
    if (!main_->Create(StoredPanelBounds())) return false;
    tray_.Attach(main_->hwnd(), LoadIconW(instance_, MAKEINTRESOURCEW(1)));
    launcher_ = std::make_unique<SystemLaunchActions>(main_->hwnd(), nullptr,
                                                      [this](std::wstring_view text) { tray_.ShowBalloon(text); });
    launchContext_ = std::make_unique<LaunchContext>(
        LaunchContext{SystemCodePage(), files_.programFile, files_.programDir, SystemEnvironment()});
    shell_ = std::make_unique<SystemShellServices>(files_.programDir, launchContext_->environment, os_);
    return true;
}

// The panel's rectangle from the configuration, or the default one.
Box App::StoredPanelBounds() {
    const int twipsPerPixel = TwipsPerPixel();
    if (auto stored = ParseStoredBounds(config_->GetConfigStr(Opt::Size, L""), twipsPerPixel, twipsPerPixel))
        return *stored;
    return DefaultPanelBounds();
}

void App::AcceptDroppedFiles() {
    // What DragAcceptFiles does, without loading the shell for it at start.
    HWND panel = main_->hwnd();
    SetWindowLongPtrW(panel, GWL_EXSTYLE, GetWindowLongPtrW(panel, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    if (AcceptsDropsFromBelow(os_.IsVistaOrLater(), IsElevated())) {
        ChangeWindowMessageFilter(WM_DROPFILES, MSGFLT_ADD);
        ChangeWindowMessageFilter(WM_COPYDATA, MSGFLT_ADD);
        ChangeWindowMessageFilter(0x0049 /* WM_COPYGLOBALDATA */, MSGFLT_ADD);
        // Explorer, started again, tells every window so; an elevated one only when it lets it in.
        ChangeWindowMessageFilter(RegisterWindowMessageW(L"TaskbarCreated"), MSGFLT_ADD);
    }
}

void App::LoadConfig() {
    // Written at every start, even with the configuration locked: a second
    // start finds this instance through `Handle`.
    config_->SetConfig(Opt::Version, MIVRA_VERSION_WTEXT, L"", true);
    const auto handle = static_cast<long>(reinterpret_cast<LONG_PTR>(main_->hwnd()));
    config_->SetConfig(Opt::Handle, std::to_wstring(handle), L"", true);
    config_->LoadOptions();
    // A file that cannot be read is not copied: the backup would hold nothing.
    if (!config_->Unreadable())
        MakeDailyBackup(files_.programDir, files_.configFile, config_->Int(Opt::MaxBackups), LocalNow());
}

// None of this may hold the first painted group up.
void App::OnStartSettled() {
    tray_.SetShown(config_->Flag(Opt::TrayIcon));
    appBar_.Register(main_->hwnd(), kAppBarCallbackMessage);
    StartMouseGestures();
    RegisterStoredHotKey();
}

void App::RegisterStoredHotKey() {
    if (!config_->Flag(Opt::EnableHotKey)) return;
    const std::wstring text = DecodeText(SystemCodePage(), config_->Text(Opt::HotKey));
    // Off for this run only: a combination another program holds now may be
    // free at the next start, so the stored choice stays.
    if (!hotKey_.Register(main_->hwnd(), text)) tray_.ShowBalloon(kHotKeyFailedBalloon);
}

// Installed once either gesture is on; it stays until the program ends.
void App::StartMouseGestures() {
    const GestureOptions gestures{config_->Flag(Opt::MiddleButton2), config_->Flag(Opt::LeftRightButton)};
    mouseHook_.SetOptions(gestures);
    if (gestures.middleButton || gestures.leftRight) mouseHook_.Start(main_->hwnd(), kMouseGestureMessage);
}

void App::LoadData() {
    StartData data = LoadDataAtStart(*config_, files_.configFile,
                                     [this](const std::wstring& text) { ShowMessage(text, MB_ICONERROR); });
    groups_ = std::move(data.groups);
    groupsUnread_ = data.unreadable;
    if (groupsUnread_) tray_.ShowBalloon(kGroupsUnreadBalloon);
}

// The program takes its panel away before destroying it (ShutDown,
// DiscardForms); a panel destroyed any other way still ends the program.
void App::OnPanelDestroyed() {
    if (!main_) return;
    retired_.push_back(std::move(main_));
    ShutDown();
}

void App::OnTrayCallback(LPARAM event) {
    if (!main_) return;
    switch (tray_.OnCallback(event)) {
    case TrayIcon::Click::Left: main_->ShowPanel(); break;
    case TrayIcon::Click::Right: main_->ShowMainMenu(MainMenuForm::Tray); break;
    case TrayIcon::Click::None: break;
    }
}

void App::OnHotKey(int id) {
    if (id == kHotKeyId && main_) main_->ToggleByHotKey();
}

void App::OnAppBarCallback(WPARAM notification, LPARAM lParam) {
    if (notification == ABN_FULLSCREENAPP && main_) main_->FullScreenChanged(lParam != 0);
}

void App::OnIdleTick() {
    const IdleTick tick = idleTicks_.Next();
    // LATER: the quiet update check (tick.checkForUpdate).
    if (tick.trimWorkingSet) SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void App::OnDisplayChange() {
    if (main_) main_->DisplayChanged();
}

void App::OnHandOver() {
    if (main_) main_->ShowPanel();
}

bool App::RunItem(ItemRecord& item, ShowMode show, std::wstring_view verb) {
    return mivra::RunItem(item, show, verb, *launchContext_, *launcher_);
}

bool App::AddItem(std::vector<ItemRecord>& items, std::wstring_view title, std::wstring_view path,
                  std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count) {
    return mivra::AddItem(items, sources_, SystemCodePage(), title, path, icoPath, argument, count);
}

int App::IconIndexOf(const ItemRecord& item) {
    const std::wstring resolved = ResolvePath(item.icoPath, files_.programDir, launchContext_->environment);
    return icons_->IndexFor(resolved, item.argument);
}

void App::SaveData() {
    // The groups in memory did not come from the file: writing them would
    // put them in place of the user's real ones.
    if (groupsUnread_) return;
    const Configuration::SaveResult result = config_->SaveGroups(groups_);
    if (!result.lossy.empty()) {
        std::wstring names;
        for (const LossyText& lossy : result.lossy)
            names += L"\r\n" + lossy.group + (lossy.item.empty() ? L"" : L" → " + lossy.item);
        tray_.ShowBalloon(L"以下名称含有系统编码无法保存的字符，已保存为“?”：" + names);
    }
}

void App::ShowPanelAtStart() {
    // Started to the tray, the panel waits for the tray icon, the hotkey or
    // a second start.
    if (!config_->Flag(Opt::StartToTray)) ShowWindow(main_->hwnd(), SW_SHOW);
}

void App::ShutDown() {
    config_->SetConfig(Opt::Handle, L"", L"", false);
    tray_.Remove();
    appBar_.Remove();
    hotKey_.Unregister();
    mouseHook_.Stop();
    if (main_ && main_->Loaded())
        config_->SetConfig(Opt::ActivatedTab, std::to_wstring(main_->ActivatedTab()), L"1", false);
    if (main_) {
        // Out of main_ before its window goes: the panel is no longer the program's.
        retired_.push_back(std::move(main_));
        retired_.back()->Close();
    }
    if (look_) retiredLooks_.push_back(std::move(look_));
    if (!restarting_) PostQuitMessage(0);
}

void App::Restart() {
    restarting_ = true;
    ShutDown();
    restarting_ = false;
    if (!StartUp()) PostQuitMessage(0);
}

void App::ExitSystem(ExitMode mode) {
    if (launcher_) launcher_->ExitSystem(mode);
}

int App::ShowMessage(std::wstring_view text, UINT style) {
    return MessageBoxW(main_ ? main_->hwnd() : nullptr, std::wstring(text).c_str(), kAppTitle, style);
}

}  // namespace mivra::win
