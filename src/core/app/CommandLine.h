#pragma once
// What a command line asks of the process: a one-shot launch ("--run"), the
// hosts-file hand-over ("--edithosts"), or the normal panel.
//
// A launch request carries four values, each encoded with EncodeText so that
// it holds no quote or space:
//   --run-operation="..."-path="..."-argument="..."-show="..."
// The reader only checks the prefix and then finds each key wherever it is.

#include <string>
#include <string_view>

#include "text/AnsiCodePage.h"

namespace mivra {

enum class CommandLineJob { Normal, Run, EditHosts };

struct RunRequest {
    std::wstring operation;  // shell verb, e.g. "open" or "runas"
    std::wstring path;
    std::wstring argument;
    std::wstring show;       // decimal show-window number, as text

    bool operator==(const RunRequest&) const = default;
};

// The text after the program name of a full command line (as the process
// receives it), without the blanks that separate it from the name.
std::wstring_view ArgumentsOf(std::wstring_view commandLine);

// `arguments` is the text after the program name.
CommandLineJob ClassifyCommandLine(std::wstring_view arguments);

// Reads and decodes the four values; a missing key gives an empty value.
RunRequest ReadRunRequest(const AnsiCodePage& codePage, std::wstring_view arguments);

// The inverse of ReadRunRequest, as the item launcher writes it.
std::wstring FormatRunArguments(const AnsiCodePage& codePage, const RunRequest& request);

// An empty operation, path or show value launches nothing.
bool ShouldLaunch(const RunRequest& request);

// The show value as a number (leading digits; 0 when there are none).
int ShowCommandOf(const RunRequest& request);

// The folder of the target, with its final backslash; empty for a web
// address (holds "/") or a network path (starts with "\\").
std::wstring WorkingDirectoryFor(std::wstring_view path);

}  // namespace mivra
