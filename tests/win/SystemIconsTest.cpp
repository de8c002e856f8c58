// Item icons from the system image lists: no handles per item, however many.

#include <gtest/gtest.h>

#include "base/Gdi.h"
#include "base/GdiLog.h"
#include "items/SystemIcons.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

// Draws `index` on white and counts the pixels that are no longer white.
int PaintedPixels(win::SystemIcons& icons, int index, win::IconSize size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 48, -48, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    win::UniqueGdiObject bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    int painted = 0;
    {
        win::SelectScope select(dc, bitmap.get());
        win::FillSolid(dc, {0, 0, 48, 48}, RGB(255, 255, 255));
        icons.Draw(index, size, dc, 0, 0);
        GdiFlush();
        const auto* pixel = static_cast<const DWORD*>(bits);
        for (int i = 0; i < 48 * 48; ++i) painted += (pixel[i] & 0xFFFFFF) != 0xFFFFFF;
    }
    DeleteDC(dc);
    return painted;
}

TEST(SystemIcons, TenThousandItemsHoldNoHandles) {
    ScratchDir scratch;
    std::vector<std::wstring> files;
    for (int i = 0; i < 50; ++i) {
        const std::filesystem::path file = scratch / (L"file" + std::to_wstring(i) + L".t" + std::to_wstring(i));
        WriteBytes(file, "x");
        files.push_back(file);
    }
    std::filesystem::copy_file(MivraExe(), scratch / L"Mivra.exe");
    files.push_back(scratch / L"Mivra.exe");
    files.push_back(scratch.path());

    win::GdiLog log;
    {
        win::SystemIcons icons(L"C:\\no\\Mivra.exe", PathFromEnvironment(L"ProgramFiles"));
        std::vector<int> indexes;
        for (int item = 0; item < 10000; ++item) {
            const int index = icons.IndexFor(files[item % files.size()], L"");
            indexes.push_back(index);
            PaintedPixels(icons, index, static_cast<win::IconSize>(item % 3));
        }
        for (size_t i = 0; i < indexes.size(); ++i)
            EXPECT_NE(indexes[i], win::SystemIcons::kNoIcon) << files[i % files.size()];
        EXPECT_GT(PaintedPixels(icons, icons.IndexFor(scratch / L"Mivra.exe", L""), win::IconSize::Large48), 100)
            << "the program's own icon is drawn";
        // Icons are copied into one bitmap per size, each with its DC; the
        // pictures they were copied through are gone.
        EXPECT_GT(log.Made().size(), 6u);
        EXPECT_LE(log.Alive(), 6u);
    }
    EXPECT_EQ(log.Alive(), 0u);
}

TEST(SystemIcons, MissingTargetsHaveNoIconAndTheRestDo) {
    win::SystemIcons icons(L"D:\\Mivra\\Mivra.exe", PathFromEnvironment(L"ProgramFiles"));
    EXPECT_EQ(icons.IndexFor(L"", L""), win::SystemIcons::kNoIcon);
    EXPECT_EQ(icons.IndexFor(L"C:\\no\\such\\file.exe", L""), win::SystemIcons::kNoIcon);
    EXPECT_EQ(PaintedPixels(icons, win::SystemIcons::kNoIcon, win::IconSize::Large48), 0);

    const int web = icons.IndexFor(L"https://example.com/", L"");
    EXPECT_NE(web, win::SystemIcons::kNoIcon) << "web items never draw blank";
    EXPECT_GT(PaintedPixels(icons, web, win::IconSize::Medium32), 0);
    for (const wchar_t* keyword : {L"drives", L"Controls", L"bitbucket"})
        EXPECT_NE(icons.IndexFor(L"D:\\Mivra\\Mivra.exe", keyword), win::SystemIcons::kNoIcon) << keyword;
}

}  // namespace
}  // namespace mivra::test
