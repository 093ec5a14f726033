// Sample file contents of every kind the program identifies, shared by the
// tests, the benchmarks and the demonstration files.
#pragma once

#include <string>
#include <vector>

struct Sample {
    const char* fileName;      // a name that suits the kind
    int kind;                  // the FileKind it must be identified as
    std::string bytes;         // the file's contents
    const char* message;       // the row the results view shows for it
};

// One sample per signature row (kinds 1 to 23), then the three computed
// kinds (Game Boy, Mega Drive, MP3) and a file that matches nothing.
const std::vector<Sample>& AllSamples();

std::string GameBoyRom(const std::string& titleField);          // 14-byte title field
std::string SmdRom(const std::string& system, const std::string& titleField);  // 48-byte title field
std::string Mp3WithTag(const std::string& titleField, const std::string& artistField);  // 30 bytes each

// Writes bytes to path (Win32 path); false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The bytes of the file at path, or "<missing>" when it cannot be opened.
std::string ReadFileBytes(const std::string& path);
