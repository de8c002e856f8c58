#pragma once
// The one-shot jobs of the command line. Each does its work and returns; the
// process then ends without a window, configuration, skin or icon.

#include <string_view>

namespace mivra::win {

// "--run-...": starts one target through the shell with its folder as working
// directory. Used by the panel so that every launch happens in a short-lived
// process of its own.
void RunLaunchJob(std::wstring_view arguments);

// "--edithosts": puts the hosts file prepared beside the program over the
// system's hosts file (started elevated by the hosts editor).
void RunEditHostsJob(std::wstring_view programDir);

}  // namespace mivra::win
