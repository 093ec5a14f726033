// The per-file heart of a batch: identify, extract or describe, report.
#pragma once

// Job result of the last archive job; -3 skips the rest of the batch.
extern int BatchStatus;

void ProcessFile(const char* path);
int RunExtractionJob(int kind, const char* archive, const char* destination);
int ExtractByKind(int kind, const char* path, const char* destination);

// The destination folder for an archive (static buffer, next call overwrites).
const char* DestinationFolderFor(const char* archive);
