// "pass.txt": any bytes split into candidates. Each candidate is non-empty,
// holds no byte below 0x20 and lies within the first 2048 bytes.
// Input: the file's bytes.
#include "extract/password_list.h"

#include <cstring>

#include "fuzz_support.h"

namespace {

size_t g_total;

void Take(void*, const char* candidate)
{
    const size_t length = std::strlen(candidate);
    FUZZ_CHECK(length > 0);
    for (size_t i = 0; i < length; ++i) FUZZ_CHECK(static_cast<unsigned char>(candidate[i]) >= 0x20);
    g_total += length + 1;
    FUZZ_CHECK(g_total <= kPasswordListBytes + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> bytes = ExactBlock(size, 0);
    if (size > 0) std::memcpy(bytes.get(), data, size);
    g_total = 0;
    SplitPasswordCandidates(bytes.get(), static_cast<int>(size), Take, nullptr);
    return 0;
}
