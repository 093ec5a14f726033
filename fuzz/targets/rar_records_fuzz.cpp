// What the RAR library hands back: a header record filled with any bytes
// (its name field possibly without a terminator) and any result code.
// Input: a header record's bytes, then a 4-byte result code.
#include "extract/rar_records.h"

#include <cstring>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RarHeaderRecord header;
    std::memset(&header, 0, sizeof header);
    std::memcpy(&header, data, size < sizeof header ? size : sizeof header);
    char name[261];
    RarEntryName(header, name);
    FUZZ_CHECK(std::strlen(name) <= 260);

    int32_t result = 0;
    if (size >= sizeof header + 4) std::memcpy(&result, data + sizeof header, 4);
    char unknown[64];
    const char* text = RarResultText(result, unknown);
    FUZZ_CHECK(text != nullptr && std::strlen(text) < 64);
    return 0;
}
