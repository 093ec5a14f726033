#include "shell/batch.h"

#include "extract/batch_log.h"
#include "extract/dispatcher.h"
#include "extract/results_view.h"
#include "shell/app.h"
#include "volumes/joint_extraction.h"

namespace {
bool g_running;
}  // namespace

bool BatchRunning() { return g_running; }

void BeginBatch(bool ofFiles)
{
    g_running = true;
    // Also while the password prompt's modal loop runs, nothing reaches it.
    if (MainWindow() != nullptr) EnableWindow(MainWindow(), FALSE);
    ClearBatchLog();
    if (ofFiles) {
        BatchStatus = 0;
        ForgetExtractedSets();
    }
}

void EndBatch(HWND owner)
{
    ShowResults(owner);
    if (MainWindow() != nullptr) EnableWindow(MainWindow(), TRUE);
    g_running = false;
}
