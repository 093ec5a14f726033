// Pieces every stand-in archiver library shares: the call log, the script's
// value escapes and numbers, files, and calls back into the program through
// the standard calling convention with the stack checked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Result of an entry point whose caller broke the calling contract (a callback
// of the wrong convention, a buffer written past its end, a stale handle) or
// whose script cannot be read: distinct from every result a script can ask for
// by accident.
const int kFaultResult = -99;

// The library's own module, set by its DllMain: the call log lies beside it.
extern HMODULE g_standinModule;

// Calls fn(args[0], …, args[count-1]) as a standard-call function and reports
// how far the callee left the stack pointer from where it was before the
// arguments were pushed: 0 when it popped exactly its arguments, -4 × count for
// a callee that pops nothing.
extern "C" std::uint32_t StandinCallChecked(const void* fn, const std::uint32_t* args, int count, int* imbalance);

std::uint32_t Arg(const void* pointer);

// ---- call log "standin-calls.log" beside the library, one line per event

std::string Readable(const char* bytes, size_t length);
std::string Readable(const std::string& bytes);
std::string Readable(const char* text);  // a null text gives the empty text
std::string Number(long long value);
void LogLine(const std::string& line);

// ---- script values

// Decodes \\ \n \r \t \s \xHH; any other backslash stays as written.
std::string Unescape(const std::string& value);
// Decimal or 0x hexadecimal, optionally negative; the whole text must be a number.
bool ParseNumber(const std::string& text, long long& value);
// Splits off the first blank-separated word; the rest follows the one blank.
std::string TakeWord(std::string& rest);

// ---- files and paths (double-byte aware: a trail byte 0x5C is no separator)

size_t AfterLastSeparator(const std::string& path);
bool IsSeparator(char c);
// The entry name with every separator a backslash, and the separators' positions.
std::string NativeName(const std::string& name, std::vector<size_t>& separators);
bool ReadWholeFile(const std::string& path, std::string& bytes);
bool IsExistingFile(const std::string& path);
// Writes BYTES filler bytes, byte i being 'a' + i % 26, in large chunks.
bool WriteFiller(HANDLE file, long long bytes);
