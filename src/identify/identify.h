// Identification of a file on disk by its contents.
#pragma once

#include "identify/signatures.h"

struct IdentifyResult {
    const char* shortName;    // may be nullptr
    const char* description;
};

// Classifies the file at path and leaves the short name and description in
// the IdentifyResult (valid until the next call).
int IdentifyFile(const char* path);
const IdentifyResult& LastIdentifyResult();
