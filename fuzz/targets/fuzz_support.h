// Shared by the fuzz targets: checks that end the run with a saved input, and
// heap copies of exactly the size a parser may touch, so that AddressSanitizer
// sees a read or write of a single byte too far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#define FUZZ_CHECK(condition)                                                                \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (0)

// A heap block of exactly size bytes (none for size 0), each set to fill.
inline std::unique_ptr<char[]> ExactBlock(size_t size, char fill)
{
    std::unique_ptr<char[]> block(new char[size]);
    std::memset(block.get(), fill, size);
    return block;
}

// Reads the fuzz input front to back; past its end every read gives zeros.
struct FuzzInput {
    const uint8_t* data;
    size_t size;

    bool Empty() const { return size == 0; }

    uint8_t Byte()
    {
        if (size == 0) return 0;
        --size;
        return *data++;
    }

    // Up to count bytes as they stand (fewer at the end of the input).
    size_t Take(size_t count, const uint8_t** bytes)
    {
        if (count > size) count = size;
        *bytes = data;
        data += count;
        size -= count;
        return count;
    }
};

// A zero-terminated text in a block of exactly its length + 1.
struct ExactText {
    std::unique_ptr<char[]> block;
    size_t length;

    const char* get() const { return block.get(); }
    char* get() { return block.get(); }
    char operator[](size_t i) const { return block[i]; }
};

// The bytes up to the first zero (or all of them) as an exact text.
inline ExactText MakeText(const uint8_t* bytes, size_t count)
{
    const void* zero = std::memchr(bytes, 0, count);
    const size_t length = zero != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : count;
    ExactText text{ExactBlock(length + 1, 0), length};
    std::memcpy(text.block.get(), bytes, length);
    return text;
}

// The next text of the input: the bytes up to a zero byte, which is consumed.
inline ExactText TakeText(FuzzInput& input)
{
    ExactText text = MakeText(input.data, input.size);
    const size_t used = text.length < input.size ? text.length + 1 : text.length;
    input.data += used;
    input.size -= used;
    return text;
}
