// The panel's stored rectangle (`Size`, written by hand or by an older
// program) on arbitrary text: no overflow, and what is read writes back to
// what reads the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "layout/PanelBounds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int tppX = input.ConsumeIntegralInRange(1, 30), tppY = input.ConsumeIntegralInRange(1, 30);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const std::wstring text(bytes.begin(), bytes.end());
    const std::optional<mivra::Box> box = mivra::ParseStoredBounds(text, tppX, tppY);
    if (!box) return 0;
    const std::optional<mivra::Box> again =
        mivra::ParseStoredBounds(mivra::FormatStoredBounds(*box, tppX, tppY), tppX, tppY);
    if (!again || *again != *box) std::abort();
    return 0;
}
