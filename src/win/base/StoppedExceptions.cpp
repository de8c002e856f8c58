#include "base/StoppedExceptions.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace mivra::win {
namespace {

std::atomic<long> stopped{0};

std::wstring Widened(const char* text) {
    std::wstring wide;
    for (const char* p = text; *p; ++p) wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return wide;
}

}  // namespace

void NoteStoppedException(const wchar_t* where) noexcept {
    stopped.fetch_add(1, std::memory_order_relaxed);
    try {
        std::wstring line = L"Mivra: an exception was stopped in ";
        line += where ? where : L"a window";
        try {
            throw;
        } catch (const std::exception& e) {
            line += L": " + Widened(e.what());
        } catch (...) {
        }
        line += L"\n";
        OutputDebugStringW(line.c_str());
    } catch (...) {
        // Out of memory while telling of it: the count still holds.
    }
}

long StoppedExceptionCount() noexcept { return stopped.load(std::memory_order_relaxed); }

}  // namespace mivra::win
