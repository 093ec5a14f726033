#include "extract/batch_log.h"

#include <cstring>

#include "core/paths.h"
#include "core/text.h"

const char kLogOmittedText[] = "以降のメッセージは省略されました";

namespace {

char g_log[kBatchLogSize];
bool g_cut = false;

// Room kept free at the end so that the notice of cut messages always fits:
// LOG_RESTART (drops a half-written message), an empty name, the text, LOG_ROW_END.
constexpr int kReserve = 2 + static_cast<int>(sizeof kLogOmittedText - 1) + 1;
constexpr int kUsable = kBatchLogSize - kReserve;

void Append(const char* text)
{
    if (BoundedAppend(g_log, text, kUsable)) g_cut = true;
}

void AppendMarker(char marker)
{
    const char text[2] = {marker, 0};
    Append(text);
}

}  // namespace

void ClearBatchLog()
{
    g_log[0] = 0;
    g_cut = false;
}

void LogFileName(const char* path)
{
    Append(LastPathComponent(path));
    AppendMarker(LOG_NAME_END);
}

void LogText(const char* text) { Append(text); }

void LogRow(const char* text)
{
    Append(text);
    AppendMarker(LOG_ROW_END);
}

void LogRestart() { AppendMarker(LOG_RESTART); }

const char* BatchLogText() { return g_log; }

int WalkBatchLog(BatchRowSink row, void* context)
{
    if (g_cut) {
        const char notice[] = {LOG_RESTART, LOG_NAME_END, 0};
        BoundedAppend(g_log, notice, kBatchLogSize);
        BoundedAppend(g_log, kLogOmittedText, kBatchLogSize);
        const char end[] = {LOG_ROW_END, 0};
        BoundedAppend(g_log, end, kBatchLogSize);
        g_cut = false;
    }
    const char* pendingName = nullptr;
    char* segment = g_log;
    int rows = 0;
    for (char* p = g_log; *p != 0; ++p) {
        switch (*p) {
        case LOG_NAME_END:
            *p = 0;
            pendingName = segment;
            segment = p + 1;
            break;
        case LOG_ROW_END:
            *p = 0;
            row(context, pendingName != nullptr ? pendingName : "", segment);
            pendingName = nullptr;
            ++rows;
            segment = p + 1;
            break;
        case LOG_RESTART:
            segment = p + 1;
            break;
        default:
            break;
        }
    }
    return rows;
}
