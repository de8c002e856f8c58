#include "app/FileLocations.h"

#include "paths/PathNames.h"
#include "text/Strings.h"

namespace mivra {
namespace {

std::wstring ProgramDirectoryOf(std::wstring_view executablePath) {
    size_t slash = executablePath.rfind(L'\\');
    if (slash == std::wstring_view::npos) return {};
    std::wstring dir(executablePath.substr(0, slash));
    // A drive root keeps its backslash ("E:\"), as the program directory is
    // written everywhere else.
    if (dir.size() == 2 && dir[1] == L':') dir += L'\\';
    return dir;
}

std::wstring DirectoryText(std::wstring_view value) {
    std::wstring dir = CleanPath(value);
    if (!dir.ends_with(L'\\')) dir += L'\\';
    return dir;
}

std::wstring Variable(const EnvironmentLookup& environment, std::wstring_view name) {
    return environment(name).value_or(std::wstring());
}

}  // namespace

FileLocations FileLocations::ForExecutable(std::wstring_view executablePath) {
    FileLocations l;
    l.programDir = ProgramDirectoryOf(executablePath);
    std::wstring base = l.programDir + L"\\" + std::wstring(BaseNameOf(executablePath));
    l.programFile = CleanPath(base + L".exe");
    l.configFile = CleanPath(base + L".cfg");
    l.skinFile = CleanPath(l.programDir + L"\\Mivra.skin");
    return l;
}

std::vector<std::wstring> RefusedDirectories(const EnvironmentLookup& environment) {
    std::vector<std::wstring> dirs;
    std::wstring systemRoot = Variable(environment, L"SystemRoot");
    std::wstring programFiles = Variable(environment, L"ProgramFiles");
    if (!systemRoot.empty()) dirs.push_back(DirectoryText(systemRoot));
    if (!programFiles.empty()) {
        dirs.push_back(DirectoryText(ReplaceAll(programFiles, L" (x86)", L"")));
        dirs.push_back(DirectoryText(programFiles));
    }
    return dirs;
}

bool IsInRefusedDirectory(std::wstring_view programFile, const std::vector<std::wstring>& refused) {
    for (const auto& dir : refused)
        if (programFile.find(dir) != std::wstring_view::npos) return true;
    return false;
}

std::wstring RefusalMessage(const EnvironmentLookup& environment) {
    return L"请将 Mivra 移至非以下目录运行，否则会出现各种问题，下面将退出 Mivra。\r\n" +
           DirectoryText(ReplaceAll(Variable(environment, L"ProgramFiles"), L" (x86)", L"")) + L"\r\n" +
           DirectoryText(Variable(environment, L"SystemRoot"));
}

bool AcceptsDropsFromBelow(bool vistaOrLater, bool elevated) { return vistaOrLater && elevated; }

}  // namespace mivra
