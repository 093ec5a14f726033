#include "extract/adapters.h"
#include "extract/extract_status.h"

int ExtractZip(HWND, const char*, const char*) { return kLibraryNotLoaded; }
