// Candidates of "pass.txt". No platform calls.
#pragma once

enum { kPasswordListBytes = 2048 };

// Splits the bytes into candidates: every byte below 0x20 separates (line
// ends, tabs, other controls), blanks belong to a candidate, a zero byte ends
// the walk, empty pieces are skipped. Calls take(context, candidate) for each,
// in order. Only the first kPasswordListBytes bytes count.
void SplitPasswordCandidates(const char* bytes, int length, void (*take)(void* context, const char* candidate),
                             void* context);
