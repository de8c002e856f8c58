#pragma once
// Every GDI object and memory DC the program makes comes from the helpers of
// base/Gdi.h, which note it here. GetGuiResources answers 0 under Wine, so
// this is how tests see that each one is freed again. The program installs
// no log: noting then costs one load.

#include <windows.h>

#include <vector>

namespace mivra::win {

class GdiLog {
public:
    // Installs this log; one at a time, on the user-interface thread.
    GdiLog();
    ~GdiLog();
    GdiLog(const GdiLog&) = delete;
    GdiLog& operator=(const GdiLog&) = delete;

    // The handles made while the log was installed, in order.
    const std::vector<HANDLE>& Made() const { return made_; }
    // How many of them still name an object.
    size_t Alive() const;

    // Called by the helpers for each object they make.
    static void Note(HANDLE object);

private:
    std::vector<HANDLE> made_;
};

}  // namespace mivra::win
