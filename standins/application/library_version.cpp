#define KORVANE_LIBRARY_BUILD
#include "library_version.h"

const wchar_t* RaidLibraryVersion(void) {
    return L"RAID library 1.00";
}
