// The output buffer lent to an archiver library, and the tally of the
// entries the current job extracted.
#pragma once

enum { kOutputBufferSize = 16384 };

// 0, or -1 when no memory. The buffer is zero-filled and lives until release.
int AcquireOutputBuffer();
void ReleaseOutputBuffer();
char* OutputBuffer();

void ResetTally();
void CountEntry();
// Trims trailing blanks and turns '/' into '\' in name (in place), then keeps it.
void RecordEntryName(char* name);
int TallyCount();
const char* LastEntryName();
