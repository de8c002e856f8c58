#include "config/DataLoading.h"

#include "base/Files.h"
#include "config/BackupFiles.h"

namespace mivra::win {

std::wstring DataLoadErrorMessage(const std::wstring& keptCopy) {
    std::wstring text = L"加载数据时遇到错误，请导入 Backup 文件夹中的备份。\r\n导入方法：菜单 → 设置 → 导入数据";
    if (!keptCopy.empty()) text += L"\r\n\r\n原文件已另存为：\r\n" + keptCopy;
    return text;
}

StartData LoadDataAtStart(Configuration& config, const std::wstring& configFile,
                          const std::function<void(const std::wstring&)>& showError) {
    StartData data;
    std::optional<LoadedData> loaded = config.LoadGroups();
    if (!loaded && config.Unreadable()) {
        // Not damaged, only out of reach: nothing to keep, nothing to report
        // beyond what the configuration told the user.
        data.ok = false;
        data.unreadable = true;
        return data;
    }
    if (loaded) data.groups = std::move(loaded->groups);
    data.ok = loaded && loaded->errors.empty();
    if (data.ok) return data;

    // The next save writes only what could be read: keep the whole file first.
    if (FileExists(configFile)) data.keptCopy = KeepUnreadableCopy(configFile, LocalNow());
    showError(DataLoadErrorMessage(data.keptCopy));
    return data;
}

}  // namespace mivra::win
