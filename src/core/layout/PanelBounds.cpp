#include "layout/PanelBounds.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace mivra {
namespace {

std::optional<double> Number(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 40) return std::nullopt;
    std::string ascii;
    for (wchar_t c : text) {
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E'))
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    char* end = nullptr;
    const double value = std::strtod(ascii.c_str(), &end);
    if (end != ascii.c_str() + ascii.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

int ToPixels(double twips, int twipsPerPixel) {
    const double pixels = std::floor(twips / twipsPerPixel + 0.5);
    if (pixels > 1e6 || pixels < -1e6) return pixels > 0 ? 1000000 : -1000000;
    return static_cast<int>(pixels);
}

}  // namespace

std::optional<Box> ParseStoredBounds(std::wstring_view text, int tppX, int tppY) {
    if (tppX <= 0 || tppY <= 0) return std::nullopt;
    std::vector<double> values;
    size_t start = 0;
    while (values.size() < 4) {
        const size_t comma = text.find(L',', start);
        const auto value = Number(text.substr(start, comma == std::wstring_view::npos ? text.npos : comma - start));
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (comma == std::wstring_view::npos) break;
        start = comma + 1;
    }
    if (values.size() < 4) return std::nullopt;
    const Box box{ToPixels(values[0], tppX), ToPixels(values[1], tppY), ToPixels(values[2], tppX),
                  ToPixels(values[3], tppY)};
    if (box.width <= 0 || box.height <= 0) return std::nullopt;
    return box;
}

std::wstring FormatStoredBounds(const Box& pixels, int tppX, int tppY) {
    return std::to_wstring(static_cast<long long>(pixels.left) * tppX) + L"," +
           std::to_wstring(static_cast<long long>(pixels.top) * tppY) + L"," +
           std::to_wstring(static_cast<long long>(pixels.width) * tppX) + L"," +
           std::to_wstring(static_cast<long long>(pixels.height) * tppY);
}

Box DefaultBounds(int screenWidth, int screenHeight) {
    return {(screenWidth - kDefaultPanelWidth) * 4 / 10, (screenHeight - kDefaultPanelHeight) * 4 / 10,
            kDefaultPanelWidth, kDefaultPanelHeight};
}

}  // namespace mivra
