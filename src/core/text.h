// Bounded byte-string operations and the two small parsers. No platform calls.
#pragma once

#include <cstddef>

// Copies at most size - 1 bytes and always terminates; size 1 or less gives "".
void BoundedCopy(char* destination, const char* source, int size);

// Appends so that the whole string stays at most size - 1 bytes; always
// terminates. A destination already at or over the limit is cut to it.
// Returns 1 when the source did not fit whole (something was cut), else 0.
int BoundedAppend(char* destination, const char* source, int size);

// Overwrites trailing blanks (0x20 only) with terminators.
void TrimTrailingSpaces(char* text);

// 1 when the byte at position is the trail byte of a Shift-JIS pair, judged by
// the run of lead-range bytes right before it (odd run = trail byte).
int IsTrailByteAt(const char* text, int position);

// Bytes of subject consumed matching the upper-case pattern at its start,
// blanks in the subject skipped and a-z folded to upper case; 0 on mismatch.
int MatchLeadingText(const char* subject, const char* pattern);

// Decimal value of exactly length bytes, a blank counting as the digit 0;
// -1 for any other byte (the terminator included).
int ParseSpacedNumber(const char* text, int length);
