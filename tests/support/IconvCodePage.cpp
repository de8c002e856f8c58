#include "IconvCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace mivra::test {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv_open ") + from + " -> " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one unit at a time so that a unit that cannot be converted is
    // replaced by `replacement` and the rest goes on.
    std::string Run(const char* in, size_t inSize, size_t unit, std::string_view replacement, bool* lossy) {
        std::string out;
        char buffer[64];
        while (inSize > 0) {
            char* src = const_cast<char*>(in);
            char* dst = buffer;
            size_t srcLeft = inSize, dstLeft = sizeof buffer;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            size_t used = inSize - srcLeft;
            in += used;
            inSize -= used;
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                // EILSEQ or EINVAL: skip one unit and put the replacement in its place.
                size_t skip = std::min(unit, inSize);
                in += skip;
                inSize -= skip;
                out.append(replacement);
                if (lossy) *lossy = true;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string IconvCodePage::ToAnsi(std::wstring_view text, bool* lossy) const {
    Converter converter(name_.c_str(), "WCHAR_T");
    return converter.Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t),
                         sizeof(wchar_t), "?", lossy);
}

std::wstring IconvCodePage::FromAnsi(std::string_view bytes) const {
    Converter converter("WCHAR_T", name_.c_str());
    const wchar_t replacement = L'?';
    std::string wide = converter.Run(bytes.data(), bytes.size(), 1,
                                     std::string_view(reinterpret_cast<const char*>(&replacement), sizeof replacement),
                                     nullptr);
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t));
}

}  // namespace mivra::test
