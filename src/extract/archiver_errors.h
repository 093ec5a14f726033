// The archiver libraries' result codes in words. No platform calls.
#pragma once

struct ArchiverError {
    int code;
    const char* text;
};

// The listed codes; the entry after the last has a null text.
extern const ArchiverError ArchiverErrorTable[];

// The text for a result code: the listed text, "some files were skipped" for
// 1 to 0x7FFF, or the text for an error of unknown cause.
const char* ArchiverErrorText(int code);

// One row of the batch log: prefix and the code's text.
void LogArchiverError(const char* prefix, int code);
