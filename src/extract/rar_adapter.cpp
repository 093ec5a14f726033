#include "extract/adapters.h"
#include "extract/extract_status.h"

int ExtractRar(HWND, const char*, const char*) { return kLibraryNotLoaded; }
