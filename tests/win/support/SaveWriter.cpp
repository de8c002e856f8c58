// Saves the configuration file again and again, as fast as it can, until it
// is killed: SaveWriter <file> <first sequence number>.

#include <windows.h>

#include <cwchar>

#include "base/Files.h"
#include "support/SaveContent.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    for (unsigned sequence = static_cast<unsigned>(std::wcstoul(argv[2], nullptr, 10));; ++sequence)
        mivra::win::WriteFileAtomically(argv[1], mivra::test::SaveContent(sequence));
}
