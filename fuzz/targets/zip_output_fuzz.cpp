// The ZIP library's printed output: pieces of any bytes and any claimed
// count go into the output buffer and the line being assembled; the buffer
// is then walked line by line for entry reports. Nothing may be read beyond a
// piece's count or the buffer, and every reported name lies inside the buffer.
// Input: a buffer size byte, then pieces (a count byte, then the piece).
#include "extract/zip_output.h"

#include <cstring>

#include "fuzz_support.h"

namespace {

char* g_output;
int g_outputSize;

void CheckName(char* name)
{
    FUZZ_CHECK(name >= g_output && name < g_output + g_outputSize);
    FUZZ_CHECK(std::memchr(name, 0, g_output + g_outputSize - name) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    g_outputSize = 1 + input.Byte();
    std::unique_ptr<char[]> output = ExactBlock(g_outputSize, 0);
    g_output = output.get();
    ResetProgressLine();
    while (!input.Empty()) {
        const unsigned long claimed = input.Byte();
        const uint8_t* bytes = nullptr;
        const size_t available = input.Take(claimed, &bytes);
        // The piece in a block of exactly the bytes there are: a count larger
        // than the text is only safe when a zero ends it first.
        std::unique_ptr<char[]> piece = ExactBlock(available + 1, 0);
        std::memcpy(piece.get(), bytes, available);
        const char* shown = TakePrintedText(piece.get(), available, g_output, g_outputSize);
        if (shown != nullptr) FUZZ_CHECK(std::strlen(shown) <= kProgressLineCapacity);
        FUZZ_CHECK(std::memchr(g_output, 0, g_outputSize) != nullptr);
    }
    // The library may also fill the buffer itself, to the brim.
    if (size > 0) std::memset(g_output, data[0] | 1, g_outputSize);
    CountReportedEntries(g_output, g_outputSize, CheckName);
    return 0;
}
