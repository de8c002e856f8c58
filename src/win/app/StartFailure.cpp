#include "app/StartFailure.h"

#include <exception>

#include "base/WinCodePage.h"

namespace mivra::win {

int RunTellingFailures(const std::function<int()>& run, const std::function<void(const std::wstring&)>& tell) {
    std::wstring reason;
    try {
        return run();
    } catch (const std::exception& e) {
        reason = SystemCodePage().FromAnsi(e.what());
    } catch (...) {
        reason = L"未知错误";
    }
    tell(L"Mivra 遇到错误，无法继续运行：\r\n" + reason);
    return 1;
}

}  // namespace mivra::win
