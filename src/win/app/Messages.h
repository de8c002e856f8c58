#pragma once
// Window messages that other processes and the shell send to the main panel.

#include <windows.h>

namespace mivra::win {

// A second start of the same executable asks the running one to show its
// panel; the answer 1 tells it to end.
constexpr UINT kShowPanelMessage = WM_USER + 1;      // 1025
constexpr UINT kAppBarCallbackMessage = WM_USER + 2;  // 1026
constexpr UINT kTrayCallbackMessage = WM_USER + 3;    // 1027
// The mouse hook's thread tells the panel that a gesture toggles it.
constexpr UINT kMouseGestureMessage = WM_APP + 10;


constexpr wchar_t kAppTitle[] = L"Mivra";
constexpr wchar_t kMainPanelClass[] = L"MivraMainPanel";

}  // namespace mivra::win
