// The silent check pass over a RAR archive or volume set.
#pragma once

// 0 when the archive opens and every header reads and every entry can be
// skipped up to the end (or the headers wait for a password); -1 when not;
// -2 without the library; -3 when an entry point is missing. Logs nothing.
int CheckRar(const char* archive);

// Whether the last extraction failed for its password (none given, or a
// wrong one): joining the set another way would only ask again.
bool RarFailedForPassword();
