#pragma once
// The one seam between Unicode text and the ANSI bytes that Mivra's files,
// command lines and server replies carry. The program uses the system's ANSI
// code page; tests plug in a fixed one (936, 1252).

#include <string>
#include <string_view>

namespace mivra {

class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;

    // Text to ANSI bytes. A character the code page cannot represent becomes
    // "?", never a look-alike; when any character does not come back as
    // itself and `lossy` is given, *lossy is set to true.
    virtual std::string ToAnsi(std::wstring_view text, bool* lossy = nullptr) const = 0;

    // ANSI bytes to text. Never fails: bytes that form no character are
    // replaced, so arbitrary input decodes to something.
    virtual std::wstring FromAnsi(std::string_view bytes) const = 0;

    // The same conversions, appended to `out`. Readers and writers of many
    // small texts (the records of the data file) use these; a code page that
    // can convert in place saves an allocation per call.
    virtual void AppendToAnsi(std::wstring_view text, std::string& out, bool* lossy = nullptr) const {
        out += ToAnsi(text, lossy);
    }
    virtual void AppendFromAnsi(std::string_view bytes, std::wstring& out) const { out += FromAnsi(bytes); }
};

}  // namespace mivra
