#include "tools/ToolText.h"

#include <cwchar>
#include <unordered_map>

namespace mivra {

ToolFrame FrameOf(ToolMode mode) {
    switch (mode) {
    case ToolMode::Memo: return {L"Mivra 备忘录", 500, 500};
    case ToolMode::HostsEditor: return {L"Mivra hosts编辑器", 500, 500};
    case ToolMode::Shutdown: break;
    }
    return {L"Mivra 自动关机", 200, 140};
}

std::wstring TextForEditBox(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            out += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (c == L'\n') {
            out += L"\r\n";
        } else if (c == L'\0') {
            out += L' ';
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

std::wstring NameOf(std::wstring_view character, char32_t code) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"U+%04X", static_cast<unsigned>(code));
    // Controls and spaces would be invisible between the quotes: the code alone names them.
    if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0)) return hex;
    return L"“" + std::wstring(character) + L"”（" + hex + L"）";
}

}  // namespace

std::wstring UnsavableCharacters(const AnsiCodePage& codePage, std::wstring_view text, size_t limit) {
    bool lossy = false;
    codePage.ToAnsi(text, &lossy);
    if (!lossy) return {};
    // Each distinct character is converted once: the cost stays linear
    // however long the text and however often a character repeats.
    std::unordered_map<char32_t, bool> holds;
    std::wstring names;
    size_t named = 0, more = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = 1;
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            length = 2;
        }
        const std::wstring_view character = text.substr(i, length);
        i += length;
        auto [known, fresh] = holds.try_emplace(code, true);
        if (!fresh) continue;
        bool lost = false;
        codePage.ToAnsi(character, &lost);
        known->second = !lost;
        if (!lost) continue;
        if (named == limit) {
            ++more;
            continue;
        }
        if (named++) names += L"、";
        names += NameOf(character, code);
    }
    if (more) names += L" 等另外 " + std::to_wstring(more) + L" 个字符";
    return names;
}

std::wstring UnsavableQuestion(std::wstring_view fileName, std::wstring_view characters) {
    return L"以下字符无法用系统编码保存到 " + std::wstring(fileName) + L"，保存后会变成“?”：\r\n" +
           std::wstring(characters) + L"\r\n\r\n选择“确定”仍然保存，选择“取消”返回修改。";
}

std::wstring UnreadableFileMessage(std::wstring_view path) {
    return L"无法读取文件，请稍后再试：\r\n" + std::wstring(path);
}

std::wstring TooLargeFileMessage(std::wstring_view path) {
    return L"文件过大，无法打开：\r\n" + std::wstring(path);
}

std::wstring UnwritableFileMessage(std::wstring_view path) {
    return L"无法保存文件：\r\n" + std::wstring(path) + L"\r\n\r\n选择“确定”放弃修改，选择“取消”返回。";
}

std::wstring HostsJobFailedMessage(unsigned long error) {
    return L"无法启动 hosts 文件的修改（错误 " + std::to_wstring(error) +
           L"）。修改后的内容已保存在程序目录下的 hosts 文件中。";
}

}  // namespace mivra
