// The batch log: every message of a batch, as one marked-up text that the
// results view turns into rows. No platform calls.
#pragma once

enum {
    kBatchLogSize = 16384,
    LOG_NAME_END = 0x01,  // ends a file name
    LOG_ROW_END = 0x02,   // ends a message: one row of the view
    LOG_RESTART = 0x03,   // the text since the last marker is thrown away
};

// Shown as the last row when the log filled up and later messages were cut.
extern const char kLogOmittedText[];

void ClearBatchLog();
void LogFileName(const char* path);  // the path's last component, then LOG_NAME_END
void LogText(const char* text);      // start or middle of a message
void LogRow(const char* text);       // the text, then LOG_ROW_END
void LogRestart();

// The raw log text (for tests and the results view).
const char* BatchLogText();

// Turns the log into rows, in place, calling row(context, name, message) for
// each; a name is given only with the first row after it, else "". When the
// log was full and something was cut, a last row with kLogOmittedText says so.
// Returns the number of rows. Runs once per batch: the walk changes the log.
typedef void (*BatchRowSink)(void* context, const char* name, const char* message);
int WalkBatchLog(BatchRowSink row, void* context);
