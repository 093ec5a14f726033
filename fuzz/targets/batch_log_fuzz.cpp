// The batch log driven by a sequence of writes decoded from the input, then
// walked into rows. Every row handed out must lie inside the log, and a log
// that lost messages must say so.
//
// Each operation is one byte: the low three bits pick it (0 clear, 1-2 file
// name, 3-4 text, 5-6 row, 7 restart), the high five bits repeat it 1 to 32
// times. A name, text or row is followed by its length byte and its bytes;
// marker bytes inside them are allowed, as hostile archive names may bring them.
#include "extract/batch_log.h"

#include "core/paths.h"
#include "fuzz_support.h"

namespace {

struct WalkCheck {
    const char* log;
    int rows;
    int notices;
    bool lastWasNotice;
};

void CheckInsideLog(const WalkCheck& check, const char* text)
{
    FUZZ_CHECK(text >= check.log && text < check.log + kBatchLogSize);
    const void* end = std::memchr(text, 0, check.log + kBatchLogSize - text);
    FUZZ_CHECK(end != nullptr);
    for (const char* p = text; p != end; ++p) FUZZ_CHECK(*p != LOG_NAME_END && *p != LOG_ROW_END && *p != LOG_RESTART);
}

void Row(void* context, const char* name, const char* message)
{
    WalkCheck& check = *static_cast<WalkCheck*>(context);
    FUZZ_CHECK(name != nullptr && message != nullptr);
    if (*name != 0) CheckInsideLog(check, name);
    CheckInsideLog(check, message);
    ++check.rows;
    check.lastWasNotice = *name == 0 && std::strcmp(message, kLogOmittedText) == 0;
    if (check.lastWasNotice) ++check.notices;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    ClearBatchLog();
    size_t written = 0;  // bytes handed to the log since it was last cleared
    // Every append walks the log from its start: a few hundred writes fill it
    // many times over, more would only slow the search down.
    int budget = 128;
    while (!input.Empty() && budget > 0) {
        const uint8_t operation = input.Byte();
        const int repeat = 1 + (operation >> 3);
        ExactText text{ExactBlock(1, 0), 0};
        const int kind = operation & 7;
        if (kind >= 1 && kind <= 6) {
            const uint8_t* bytes;
            const size_t count = input.Take(input.Byte(), &bytes);
            text = MakeText(bytes, count);
        }
        for (int i = 0; i < repeat && budget > 0; ++i, --budget) {
            switch (kind) {
            case 0: ClearBatchLog(); written = 0; break;
            case 1: case 2: LogFileName(text.get()); break;
            case 3: case 4: LogText(text.get()); break;
            case 5: case 6: LogRow(text.get()); break;
            default: LogRestart(); break;
            }
            if (kind == 1 || kind == 2) written += std::strlen(LastPathComponent(text.get()));
            if (kind >= 3 && kind <= 6) written += text.length;
            if (kind == 1 || kind == 2 || kind >= 5) ++written;
        }
    }

    WalkCheck check{BatchLogText(), 0, 0, false};
    FUZZ_CHECK(std::memchr(check.log, 0, kBatchLogSize) != nullptr);
    int rowEnds = 0;
    for (const char* p = check.log; *p != 0; ++p) rowEnds += *p == LOG_ROW_END;
    const int rows = WalkBatchLog(Row, &check);
    FUZZ_CHECK(rows == check.rows);
    // Every row end written becomes a row; the notice of lost messages is
    // the one row more, and comes last.
    FUZZ_CHECK(rows == rowEnds || (rows == rowEnds + 1 && check.lastWasNotice));
    if (written <= kBatchLogSize / 2) FUZZ_CHECK(rows == rowEnds);
    if (written >= kBatchLogSize) FUZZ_CHECK(rows == rowEnds + 1);
    return 0;
}
