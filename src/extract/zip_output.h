// Reading the ZIP library's output text: the line being printed, and the
// lines that report extracted entries. No platform calls.
#pragma once

enum { kProgressLineCapacity = 323 };

// Forgets the line assembled so far (start of each extraction).
void ResetProgressLine();

// Takes one piece of printed text: at most count bytes, fewer when a zero
// byte comes first. Appends it to output (a text of outputSize bytes, kept
// terminated) and to the line being assembled. Returns the entry name to
// show when the line so far reports an entry, else nullptr (valid until the
// next call).
const char* TakePrintedText(const char* text, unsigned long count, char* output, int outputSize);

// The entry name of a report line ("  inflating: dest/name"): bytes 8 to 11
// are "ing:", the name is what follows the first '/' from byte 12 on, or all
// from byte 12 when there is none. nullptr for any other line.
const char* ReportedEntryName(const char* line, int length);

// Walks the output line by line (CR, LF or the end), terminating each line
// in place, and hands every report line's entry name to onEntry. The output
// is first terminated at its last byte, whatever the library left there.
void CountReportedEntries(char* output, int outputSize, void (*onEntry)(char* name));
