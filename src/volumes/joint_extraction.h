// RAR volume sets: extracted where they lie, or joined under one uniform
// name in a temporary folder beside the program.
#pragma once

// Extracts a dropped RAR file's set; a job result. 0 also for a file whose
// set was already extracted in this batch.
int ExtractDroppedRar(const char* path);

// The Extract command: joins the volumes of the volume list by their labels.
void ExtractVolumeList();

// Forgets which sets the current batch extracted (at the start of a batch).
void ForgetExtractedSets();

// The temporary folder, its archive and copies.
void TempFolderPath(char* buffer, int size);
const char* TempArchivePath();
int CreateTempFolder();
int DeleteTempVolumes();
int CopyVolumesToTemp();
int DeleteMatchingFiles(const char* pattern);
int CopyFileInBlocks(const char* source, const char* destination);
int ExtractGatheredSet(const char* destination);
