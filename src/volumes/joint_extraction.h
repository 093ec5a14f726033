// Extraction of RAR volume sets.
#pragma once

// Extracts a dropped RAR file; a job result.
int ExtractDroppedRar(const char* path);
