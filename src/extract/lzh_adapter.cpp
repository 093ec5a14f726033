#include "extract/adapters.h"
#include "extract/extract_status.h"

int ExtractLzh(HWND, const char*, const char*) { return kLibraryNotLoaded; }
