// A RAR file's first bytes and a volume name, as the user's disk holds them:
// the main header's numbering, the part number of the name and the names of
// the other parts. Nothing is read past the bytes; a name built for another
// part keeps everything but the number.
// Input: a name (up to a zero byte), then the file's first bytes.
#include "volumes/rar_volume_header.h"

#include <cstring>
#include <string>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const ExactText name = TakeText(input);
    std::unique_ptr<char[]> head = ExactBlock(input.size, 0);
    if (input.size > 0) std::memcpy(head.get(), input.data, input.size);
    const int naming = RarNamingOf(reinterpret_cast<const unsigned char*>(head.get()), static_cast<int>(input.size));
    FUZZ_CHECK(naming >= kRarNotAVolume && naming <= kRarNamingInName);

    int at = 0;
    int length = 0;
    const int number = PartNumberOf(name.get(), &at, &length);
    if (number == 0) return 0;
    FUZZ_CHECK(at >= 0 && length > 0 && static_cast<size_t>(at + length) <= name.length);
    for (int other : {1, 2, number + 1, 101}) {
        char out[324];
        if (!WithPartNumber(name.get(), other, out, sizeof out)) continue;
        FUZZ_CHECK(std::strlen(out) < sizeof out);
        FUZZ_CHECK(std::strncmp(out, name.get(), at) == 0);
        FUZZ_CHECK(PartNumberOf(out, nullptr, nullptr) == other);
    }
    const char* label = PartLabel(number);
    FUZZ_CHECK(label == nullptr || std::strlen(label) == 3);
    return 0;
}
