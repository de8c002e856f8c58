#include "app/CommandLine.h"

#include <climits>

#include "text/Strings.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

constexpr std::wstring_view kRunPrefix = L"--run";
constexpr std::wstring_view kEditHosts = L"--edithosts";

constexpr std::wstring_view kOperationKey = L"operation=\"";
constexpr std::wstring_view kPathKey = L"path=\"";
constexpr std::wstring_view kArgumentKey = L"argument=\"";
constexpr std::wstring_view kShowKey = L"show=\"";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view TrimBlanks(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::wstring ReadField(const AnsiCodePage& codePage, std::wstring_view arguments, std::wstring_view key) {
    return DecodeText(codePage, GetBetween(arguments, key, L"\""));
}

}  // namespace

std::wstring_view ArgumentsOf(std::wstring_view commandLine) {
    size_t i = 0;
    // The program name ends at the closing quote when it is quoted, else at
    // the first blank (the rule Windows itself uses for argv[0]).
    if (!commandLine.empty() && commandLine[0] == L'"') {
        size_t close = commandLine.find(L'"', 1);
        i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

CommandLineJob ClassifyCommandLine(std::wstring_view arguments) {
    if (StartsWithNoCase(arguments, kRunPrefix)) return CommandLineJob::Run;
    if (EqualsNoCase(TrimBlanks(arguments), kEditHosts)) return CommandLineJob::EditHosts;
    return CommandLineJob::Normal;
}

RunRequest ReadRunRequest(const AnsiCodePage& codePage, std::wstring_view arguments) {
    return RunRequest{
        ReadField(codePage, arguments, kOperationKey),
        ReadField(codePage, arguments, kPathKey),
        ReadField(codePage, arguments, kArgumentKey),
        ReadField(codePage, arguments, kShowKey),
    };
}

std::wstring FormatRunArguments(const AnsiCodePage& codePage, const RunRequest& request) {
    std::wstring out(L"--run-");
    auto field = [&](std::wstring_view key, std::wstring_view value) {
        out.append(key).append(EncodeText(codePage, value)).append(L"\"");
    };
    field(kOperationKey, request.operation);
    out.append(L"-");
    field(kPathKey, request.path);
    out.append(L"-");
    field(kArgumentKey, request.argument);
    out.append(L"-");
    field(kShowKey, request.show);
    return out;
}

bool ShouldLaunch(const RunRequest& request) {
    return !request.operation.empty() && !request.path.empty() && !request.show.empty();
}

int ShowCommandOf(const RunRequest& request) {
    long long value = LeadingInteger(request.show);
    if (value < INT_MIN) return INT_MIN;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

std::wstring WorkingDirectoryFor(std::wstring_view path) {
    if (path.find(L'/') != std::wstring_view::npos || path.starts_with(L"\\\\")) return {};
    size_t lastSlash = path.rfind(L'\\');
    if (lastSlash == std::wstring_view::npos) return {};
    return std::wstring(path.substr(0, lastSlash + 1));
}

}  // namespace mivra
