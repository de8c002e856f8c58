#pragma once
// The memo's and the hosts editor's rules: their windows' captions and sizes,
// the files they keep, what is saved, and the question about characters the
// ANSI code page cannot hold.

#include <cstddef>
#include <string>
#include <string_view>

#include "text/AnsiCodePage.h"

namespace mivra {

// The window's three roles (its `l_mode`).
enum class ToolMode { Memo = 1, HostsEditor = 2, Shutdown = 3 };

struct ToolFrame {
    std::wstring_view caption;
    int width, height;  // outer, in pixels
};
ToolFrame FrameOf(ToolMode mode);

inline constexpr std::wstring_view kMemoFileName = L"Memo.txt";
// The copy of the hosts file beside the program that the "--edithosts" job installs.
inline constexpr std::wstring_view kStagedHostsFileName = L"hosts";
inline constexpr std::wstring_view kEditHostsArgument = L"--edithosts";
// A text file larger than this is not opened: an edit box of such a size
// helps nobody, and nothing is written over it.
inline constexpr size_t kMaxToolFileBytes = 16u << 20;

// A file's text as an edit box can hold it: a lone LF or CR becomes CR LF,
// and a NUL (where the box would end the text) a space, so that nothing
// after it is lost when the text is saved again.
std::wstring TextForEditBox(std::wstring_view text);

// The characters of `text` that `codePage` cannot hold, each named once in
// the order they first appear, at most `limit` of them ("“€”（U+20AC）、…").
// Empty when the whole text converts as it is. Linear in the text.
std::wstring UnsavableCharacters(const AnsiCodePage& codePage, std::wstring_view text, size_t limit = 10);
// The question asked before such a text is written; OK saves with "?" in
// their place, Cancel goes back to the text.
std::wstring UnsavableQuestion(std::wstring_view fileName, std::wstring_view characters);

std::wstring UnreadableFileMessage(std::wstring_view path);
std::wstring TooLargeFileMessage(std::wstring_view path);
std::wstring UnwritableFileMessage(std::wstring_view path);
inline constexpr std::wstring_view kElevationDeclinedMessage =
    L"未获得管理员权限，hosts 文件没有修改。修改后的内容已保存在程序目录下的 hosts 文件中。";
std::wstring HostsJobFailedMessage(unsigned long error);

}  // namespace mivra
