// The double-byte walk behind every path and text routine.
//
// Paths and texts are code page 932 byte strings. A forward walk asks the
// platform which bytes lead a double-byte character; the Windows build uses
// the system's own answer (IsDBCSLeadByte, CharNextA), the native build used
// for fuzzing answers with the fixed Shift-JIS ranges.
#pragma once

// True when the byte starts a double-byte character in the current code page.
bool IsLeadByteCp(unsigned char byte);

// The next character after the one at text; a lead byte directly followed by
// the terminator yields the terminator, so a walk never runs past the end.
const char* NextChar(const char* text);
