#include "volumes/joint_extraction.h"

#include "extract/dispatcher.h"
#include "identify/signatures.h"

int ExtractDroppedRar(const char* path)
{
    return RunExtractionJob(kKindRar, path, DestinationFolderFor(path));
}
