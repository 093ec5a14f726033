// Results shared by the adapters and the dispatcher.
#pragma once

// What an adapter entry returns.
enum ExtractStatus {
    kExtracted = 0,
    kExtractFailedLogged = -1,
    kLibraryNotLoaded = -2,
    kEntryPointMissing = -3,
    kFolderNotMade = -4,
    kSystemFailure = -5,
    kCancelled = -6,
};

// What a job returns, and what BatchStatus holds.
enum JobResult {
    kJobSuccess = 0,
    kJobFailed = -1,
    kJobLibraryProblem = -2,
    kJobStopBatch = -3,
};
