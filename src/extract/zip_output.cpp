#include "extract/zip_output.h"

#include <cstring>

namespace {

char g_line[kProgressLineCapacity + 1];
int g_lineLength;

}  // namespace

void ResetProgressLine() { g_lineLength = 0; }

const char* ReportedEntryName(const char* line, int length)
{
    if (length < 12 || std::memcmp(line + 8, "ing:", 4) != 0) return nullptr;
    const char* slash = static_cast<const char*>(std::memchr(line + 12, '/', length - 12));
    return slash != nullptr ? slash + 1 : line + 12;
}

const char* TakePrintedText(const char* text, unsigned long count, char* output, int outputSize)
{
    // The count is the library's; a piece may also end earlier at a zero byte.
    unsigned long length = 0;
    while (length < count && text[length] != 0) ++length;

    int used = static_cast<int>(strnlen(output, outputSize - 1));
    const unsigned long room = static_cast<unsigned long>(outputSize - 1 - used);
    const unsigned long copied = length < room ? length : room;
    std::memcpy(output + used, text, copied);
    output[used + copied] = 0;

    for (unsigned long i = 0; i < length; ++i) {
        const char byte = text[i];
        if (byte == '\r' || byte == '\n') {
            g_lineLength = 0;
        } else if (g_lineLength < kProgressLineCapacity) {
            g_line[g_lineLength++] = byte;
        }
    }
    g_line[g_lineLength] = 0;
    return ReportedEntryName(g_line, g_lineLength);
}

void CountReportedEntries(char* output, int outputSize, void (*onEntry)(char* name))
{
    if (outputSize <= 0) return;
    output[outputSize - 1] = 0;
    char* line = output;
    for (;;) {
        char* end = line;
        while (*end != 0 && *end != '\r' && *end != '\n') ++end;
        const bool last = *end == 0;
        *end = 0;
        if (const char* name = ReportedEntryName(line, static_cast<int>(end - line))) {
            onEntry(const_cast<char*>(name));
        }
        if (last) return;
        line = end + 1;
    }
}
