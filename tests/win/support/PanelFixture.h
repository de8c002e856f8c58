#pragma once
// A main panel made in this process around a FakePanelHost, loaded and
// shown, with its item panel and group bar at hand.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakePanelHost.h"
#include "MessagePump.h"
#include "itempanel/ItemPanel.h"
#include "main/MainPanel.h"
#include "main/PanelLook.h"

namespace mivra::test {

using win::MainPanel;

using FakeHost = FakePanelHost;

inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class PanelTest : public ::testing::Test {
protected:
    void Start(std::vector<Group> stored, std::string config = "[Config]\r\n") {
        host.storage.bytes = std::move(config);
        host.config.LoadOptions();
        host.stored = std::move(stored);
        panel = win::MakeWindow<MainPanel>(GetModuleHandleW(nullptr), host, look);
        ASSERT_TRUE(panel->Create(Box{100, 100, 354, 400}));
        ShowWindow(panel->hwnd(), SW_SHOWNA);
        panel->FormResize();
        panel->StartPing();
        Pump();
        ASSERT_TRUE(panel->Loaded());
        items = FindWindowExW(panel->hwnd(), nullptr, L"MivraItemPanel", nullptr);
        bar = FindWindowExW(panel->hwnd(), nullptr, L"MivraGroupBar", nullptr);
        ASSERT_TRUE(items && bar);
    }
    void TearDown() override {
        // Closing takes Wine about two seconds on a display without a window manager.
        if (panel) panel->Close();
        Pump();
    }
    // The centre of an item's cell, in the item panel.
    POINT CellCentre(int item) {
        RECT client{};
        GetClientRect(items, &client);
        // Default view: many columns of 126 or more, cells 46 high.
        const int columns = std::max(1, static_cast<int>(client.right / 126));
        const int width = static_cast<int>(client.right) / columns;
        return {((item - 1) % columns) * width + width / 2, ((item - 1) / columns) * 46 + 23};
    }
    win::ItemPanel& ItemPanelObject() {
        return *win::ItemPanel::FromHandle(items);
    }
    void Click(int item) {
        const POINT p = CellCentre(item);
        SendMessageW(items, WM_MOUSEMOVE, 0, At(p.x, p.y));
        SendMessageW(items, WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
        SendMessageW(items, WM_LBUTTONUP, 0, At(p.x, p.y));
    }

    win::PanelLook look = win::PanelLook::BuiltIn();
    FakeHost host;
    win::WindowPtr<MainPanel> panel;
    HWND items = nullptr, bar = nullptr;
};

}  // namespace mivra::test
