#pragma once
// Start-up and shut-down run outside any window procedure: an exception that
// gets out of them ends the program with a message that says so, not with a
// crash report that names nothing.

#include <functional>
#include <string>

namespace mivra::win {

// Runs `run` and gives its exit code; when it throws, `tell` is given the
// message for the user and the exit code is 1.
int RunTellingFailures(const std::function<int()>& run, const std::function<void(const std::wstring&)>& tell);

}  // namespace mivra::win
