#pragma once
// What the main panel needs from the program around it: the configuration,
// the groups and their file, messages, starting and adding items, icons.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/Configuration.h"
#include "data/Group.h"

namespace mivra::win {

class SystemIcons;

class PanelHost {
public:
    virtual ~PanelHost() = default;

    virtual Configuration& Config() = 0;
    virtual const AnsiCodePage& CodePage() = 0;
    // While set (start-up loads the configuration), layout does nothing.
    virtual bool IsLocked() const = 0;
    // The groups in tab order.
    virtual std::vector<Group>& Groups() = 0;
    // Rewrites the groups to the file.
    virtual void SaveData() = 0;
    // Reads the groups from the file (the first tick after start-up).
    virtual void LoadData() = 0;
    virtual int ShowMessage(std::wstring_view text, UINT style) = 0;
    // Tells the user something in a tray balloon.
    virtual void ShowBalloon(std::wstring_view text) = 0;
    // Ends the program.
    virtual void ShutDown() = 0;
    virtual void OnTrayCallback(LPARAM event) = 0;

    // The program's own path: path and icon of the command items it carries out.
    virtual std::wstring_view ProgramFile() = 0;
    // Starts an item; false when its path resolves to nothing (nothing
    // happened). Otherwise its count has grown by one.
    virtual bool RunItem(ItemRecord& item, int show, std::wstring_view verb) = 0;
    // Appends an item made from a title and a path, following shortcuts;
    // false (nothing added) when the data file could not carry it.
    virtual bool AddItem(std::vector<ItemRecord>& items, std::wstring_view title, std::wstring_view path,
                         std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count) = 0;
    // The icon of an item as an index into the system image lists.
    virtual int IconIndexOf(const ItemRecord& item) = 0;
    virtual SystemIcons& Icons() = 0;
    // Milliseconds of the system's tick counter: what the click timing counts in.
    virtual std::uint32_t TickCount() { return GetTickCount(); }
};

}  // namespace mivra::win
