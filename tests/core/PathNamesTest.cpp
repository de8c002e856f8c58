#include "paths/PathNames.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

TEST(PathNames, FileAndBaseNames) {
    struct Case {
        std::wstring_view path, file, base;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Mivra.exe", L"Mivra.exe", L"Mivra"},  {L"D:\\下载\\资料.tar.gz", L"资料.tar.gz", L"资料.tar"},
        {L"C:\\folder.with.dots\\sub", L"sub", L"sub"},     {L"https://example.com/a.html", L"a.html", L"a"},
        {L"Mivra.exe", L"Mivra.exe", L"Mivra"},              {L"E:\\", L"", L""},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameOf(c.path), c.file) << std::wstring(c.path);
        EXPECT_EQ(BaseNameOf(c.path), c.base) << std::wstring(c.path);
    }
}

}  // namespace
}  // namespace mivra
