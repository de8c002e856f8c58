#pragma once
// Loading the groups at start, with what the user must be told when the data
// cannot be read. Nothing is lost: before anything is written, a file whose
// data could not be read whole is copied beside itself under a dated name.

#include <functional>
#include <string>
#include <vector>

#include "config/Configuration.h"

namespace mivra::win {

struct StartData {
    std::vector<Group> groups;
    bool ok = true;
    // The file exists but could not be read at all (held by another program):
    // no groups came from it, so none may be written back to it.
    bool unreadable = false;
    std::wstring keptCopy;  // where the unreadable file was copied to, if it was
};

// `showError` puts the message in front of the user (a critical message box).
StartData LoadDataAtStart(Configuration& config, const std::wstring& configFile,
                          const std::function<void(const std::wstring&)>& showError);

// The message for data that could not be read; `keptCopy` may be empty.
std::wstring DataLoadErrorMessage(const std::wstring& keptCopy);

}  // namespace mivra::win
