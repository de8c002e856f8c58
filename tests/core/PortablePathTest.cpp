#include "paths/PortablePath.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace mivra {
namespace {

std::optional<std::wstring> FakeEnvironment(std::wstring_view name) {
    static const std::map<std::wstring, std::wstring, std::less<>> vars = {
        {L"windir", L"C:\\Windows"},
        {L"share", L"\\\\server\\share\\"},
        {L"empty", L""},
    };
    auto it = vars.find(name);
    if (it == vars.end()) return std::nullopt;
    return it->second;
}

std::wstring Resolve(std::wstring_view path, std::wstring_view programDir = L"D:\\Mivra") {
    return ResolvePath(path, programDir, FakeEnvironment);
}

TEST(PortablePath, Resolve) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"", L""},
        {L"%rp%\\apps\\a.exe", L"D:\\Mivra\\apps\\a.exe"},
        {L"%RP%\\a.exe", L"D:\\Mivra\\a.exe"},
        {L"%Rp%\\a.exe", L"D:\\Mivra\\a.exe"},
        {L"%rp%", L"D:\\Mivra"},
        {L"%RP%\\a\\%rp%", L"D:\\Mivra\\a\\%rp%"},  // only the spelling at the start
        {L"%rp%\\a\\%rp%\\b", L"D:\\Mivra\\a\\D:\\Mivra\\b"},
        {L"%rr%\\Tools\\b.exe", L"D:\\Tools\\b.exe"},
        {L"%RR%\\Tools\\%rr%", L"D:\\Tools\\%rr%"},
        {L"%windir%\\notepad.exe", L"C:\\Windows\\notepad.exe"},
        {L"%windir%\\%windir%\\%empty%", L"C:\\Windows\\C:\\Windows\\%empty%"},  // first variable only
        {L"%WINDIR%\\x", L"\\x"},  // the fake lookup is case-sensitive
        {L"%nosuchvar%\\x", L"\\x"},
        {L"%empty%\\x", L"\\x"},
        {L"%share%\\e.doc", L"\\\\server\\share\\e.doc"},  // a network value keeps its leading pair
        {L"%rp", L"%rp"},
        {L"%windir\\\\x", L"%windir\\x"},  // one '%': nothing replaced, still collapsed
        {L"%%\\\\a", L"%%\\\\a"},  // empty name: entirely unchanged
        {L"%%rp%\\a", L"%%rp%\\a"},
        {L".\\bin\\c.exe", L"D:\\Mivra\\bin\\c.exe"},
        {L".\\a\\.\\b", L"D:\\Mivra\\a\\D:\\Mivra\\b"},
        {L"..\\Games\\d.exe", L"D:\\Games\\d.exe"},
        {L"..\\..\\Games\\..\\d.exe", L"D:\\Games\\d.exe"},
        {L"a\\.\\b", L"a\\.\\b"},
        {L"\\\\server\\share\\e.doc", L"\\\\server\\share\\e.doc"},
        {L"\\\\server\\\\share", L"\\\\server\\share"},
        {L"C:\\\\x\\\\y", L"C:\\x\\y"},
        {L"http://example.com/a/b", L"http://example.com/a/b"},
        {L"C:/x//y", L"C:/x//y"},
        {L"notepad.exe", L"notepad.exe"},
    };
    for (const auto& [stored, resolved] : cases) EXPECT_EQ(Resolve(stored), resolved) << stored;
}

TEST(PortablePath, ResolveOnDriveRoot) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"%rp%\\a.exe", L"E:\\a.exe"},
        {L"%rp%", L"E:\\"},
        {L"%rr%\\a.exe", L"E:\\a.exe"},
        {L".\\bin\\c.exe", L"E:\\bin\\c.exe"},
        {L"..\\Games\\d.exe", L"E:\\Games\\d.exe"},
    };
    for (const auto& [stored, resolved] : cases) EXPECT_EQ(Resolve(stored, L"E:\\"), resolved) << stored;
}

TEST(PortablePath, MakePortable) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"D:\\Mivra\\apps\\x.exe", L"%rp%\\apps\\x.exe"},
        {L"D:\\Tools\\x.exe", L"%rr%\\Tools\\x.exe"},
        {L"d:\\mivra\\x.exe", L"%rr%\\mivra\\x.exe"},  // drive ignores case, directory does not
        {L"D:\\Tools\\\\x.exe", L"%rr%\\Tools\\x.exe"},
        // A folder whose name only begins like the program directory is not it.
        {L"D:\\MivraX\\a.exe", L"%rr%\\MivraX\\a.exe"},
        {L"D:\\Mivra", L"%rp%\\"},
        {L"C:\\Mivra\\x.exe", L"C:\\Mivra\\x.exe"},
        {L"C:\\\\x", L"C:\\\\x"},  // another drive is left exactly as it is
        {L"\\\\server\\share\\x", L"\\\\server\\share\\x"},
        {L"http://example.com", L"http://example.com"},
        {L"D", L"D"},
        {L"", L""},
    };
    for (const auto& [path, portable] : cases) EXPECT_EQ(MakePortable(path, L"D:\\Mivra"), portable) << path;
    EXPECT_EQ(MakePortable(L"E:\\a.exe", L"E:\\"), L"%rp%\\a.exe");
}

// Any path on the program's drive, spelled as the program directory spells
// the drive, comes back from its portable form unchanged.
TEST(PortablePath, MakePortableRoundTrips) {
    const std::wstring folders[] = {L"Mivra", L"mivra", L"MivraX", L"Tools", L"Program Files", L"\u4e2d\u6587", L"a.b"};
    const std::wstring files[] = {L"a.exe", L"notes.txt", L"x"};
    std::mt19937 rng(99);
    for (const std::wstring programDir : {L"D:\\Mivra", L"D:\\Tools\\Mivra", L"E:\\"}) {
        const std::wstring drive = programDir.substr(0, 3);
        for (int i = 0; i < 300; ++i) {
            std::wstring path = drive;
            for (int depth = rng() % 4; depth > 0; --depth) path += folders[rng() % std::size(folders)] + L"\\";
            path += files[rng() % std::size(files)];
            EXPECT_EQ(Resolve(MakePortable(path, programDir), programDir), path) << path << " in " << programDir;
        }
    }
}

}  // namespace
}  // namespace mivra
