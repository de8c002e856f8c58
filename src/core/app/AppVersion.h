#pragma once
// The version of this build. Only macros, so that the resource compiler reads
// this file too (the version resource of Mivra.exe).

#define MIVRA_VERSION_MAJOR 1
#define MIVRA_VERSION_MINOR 3
#define MIVRA_VERSION_PATCH 6
#define MIVRA_VERSION_TEXT "1.3.6"
#define MIVRA_VERSION_WTEXT L"1.3.6"
