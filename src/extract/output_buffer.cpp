#include "extract/output_buffer.h"

#include <windows.h>

#include "core/files.h"
#include "core/text.h"

namespace {
HGLOBAL g_outputHandle;
char* g_output;

int g_tallyCount;
char g_lastEntryName[kPathBuffer];
}  // namespace

int AcquireOutputBuffer()
{
    HGLOBAL handle = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kOutputBufferSize);
    if (handle == nullptr) return -1;
    void* address = GlobalLock(handle);
    if (address == nullptr) {
        GlobalFree(handle);
        return -1;
    }
    g_outputHandle = handle;
    g_output = static_cast<char*>(address);
    return 0;
}

void ReleaseOutputBuffer()
{
    if (g_outputHandle == nullptr) return;
    GlobalUnlock(g_outputHandle);
    GlobalFree(g_outputHandle);
    g_outputHandle = nullptr;
    g_output = nullptr;
}

char* OutputBuffer() { return g_output; }

void ResetTally()
{
    g_tallyCount = 0;
    g_lastEntryName[0] = 0;
}

void CountEntry() { ++g_tallyCount; }

void RecordEntryName(char* name)
{
    TrimTrailingSpaces(name);
    for (char* p = name; *p != 0; ++p) {
        if (*p == '/') *p = '\\';
    }
    BoundedCopy(g_lastEntryName, name, sizeof g_lastEntryName);
}

int TallyCount() { return g_tallyCount; }
const char* LastEntryName() { return g_lastEntryName; }
