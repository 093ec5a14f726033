// The bounded copies and the two small parsers of core/text.
// Input: a parameter byte (the buffer size), text A, a zero byte, text B.
#include "core/text.h"

#include <algorithm>
#include <string>

#include "fuzz_support.h"

namespace {

bool InLeadRange(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

void CheckBoundedCopy(const ExactText& source, int size)
{
    auto buffer = ExactBlock(size > 0 ? size : 0, 'Z');
    BoundedCopy(buffer.get(), source.get(), size);
    if (size < 1) return;
    const size_t kept = std::min(source.length, static_cast<size_t>(size - 1));
    FUZZ_CHECK(std::memcmp(buffer.get(), source.get(), kept) == 0);
    FUZZ_CHECK(buffer[kept] == 0);
}

// The destination lies in a buffer of exactly size bytes and need not be
// terminated inside it: a string already over the limit is cut, never read on.
void CheckBoundedAppend(const ExactText& start, const ExactText& source, int size)
{
    const size_t room = size > 0 ? size : 0;
    auto buffer = ExactBlock(room, 'Z');
    const size_t startBytes = std::min(start.length, room);
    std::memcpy(buffer.get(), start.get(), startBytes);
    if (startBytes < room) buffer[startBytes] = 0;

    const int cut = BoundedAppend(buffer.get(), source.get(), size);
    const int limit = size - 1;
    if (limit <= 0) {
        if (size == 1) FUZZ_CHECK(buffer[0] == 0);
        FUZZ_CHECK(cut == (source.length > 0));
        return;
    }
    const size_t kept = std::min(start.length, static_cast<size_t>(limit));
    const size_t appended = std::min(source.length, limit - kept);
    FUZZ_CHECK(std::memcmp(buffer.get(), start.get(), kept) == 0);
    FUZZ_CHECK(std::memcmp(buffer.get() + kept, source.get(), appended) == 0);
    FUZZ_CHECK(buffer[kept + appended] == 0);
    FUZZ_CHECK(cut == (appended < source.length));
}

void CheckTrimTrailingSpaces(const ExactText& text)
{
    ExactText copy = MakeText(reinterpret_cast<const uint8_t*>(text.get()), text.length);
    TrimTrailingSpaces(copy.get());
    const size_t kept = std::strlen(copy.get());
    FUZZ_CHECK(std::memcmp(copy.get(), text.get(), kept) == 0);
    FUZZ_CHECK(kept == 0 || copy[kept - 1] != ' ');
    for (size_t i = kept; i < text.length; ++i) FUZZ_CHECK(text[i] == ' ');
}

// A byte right after a lead-range byte is a trail byte exactly when that
// lead-range byte is not one itself; anything else starts a character.
void CheckIsTrailByteAt(const ExactText& text)
{
    if (text.length > 512) return;  // quadratic: keep the executions fast
    FUZZ_CHECK(IsTrailByteAt(text.get(), 0) == 0);
    for (size_t i = 1; i <= text.length; ++i) {
        const int position = static_cast<int>(i);
        const int trail = IsTrailByteAt(text.get(), position);
        if (InLeadRange(static_cast<unsigned char>(text[i - 1]))) {
            FUZZ_CHECK(trail == 1 - IsTrailByteAt(text.get(), position - 1));
        } else {
            FUZZ_CHECK(trail == 0);
        }
    }
}

void CheckMatchLeadingText(const ExactText& subject, const ExactText& pattern)
{
    FUZZ_CHECK(MatchLeadingText(nullptr, pattern.get()) == 0);
    const int taken = MatchLeadingText(subject.get(), pattern.get());
    FUZZ_CHECK(taken >= 0 && static_cast<size_t>(taken) <= subject.length);

    // The subject's bytes without blanks and with a-z folded, and how many
    // subject bytes it takes to see the whole pattern in them.
    std::string folded;
    size_t needed = 0;
    for (size_t i = 0; i < subject.length && folded.size() < pattern.length; ++i) {
        char byte = subject[i];
        needed = i + 1;
        if (byte == ' ') continue;
        if (byte >= 'a' && byte <= 'z') byte = static_cast<char>(byte - 'a' + 'A');
        folded += byte;
    }
    const bool matches = pattern.length > 0 && folded == std::string(pattern.get(), pattern.length);
    FUZZ_CHECK(taken == (matches ? static_cast<int>(needed) : 0));
}

void CheckParseSpacedNumber(const ExactText& text)
{
    // Exactly length bytes and no terminator: the parse must stop in time.
    auto bytes = ExactBlock(text.length, 0);
    std::memcpy(bytes.get(), text.get(), text.length);
    const int length = static_cast<int>(text.length);
    const int value = ParseSpacedNumber(bytes.get(), length);

    bool valid = true;
    std::string digits;
    for (size_t i = 0; i < text.length; ++i) {
        const char byte = text[i];
        if (byte == ' ') {
            digits += '0';
        } else if (byte >= '0' && byte <= '9') {
            digits += byte;
        } else {
            valid = false;
        }
    }
    if (!valid) {
        FUZZ_CHECK(value == -1);
    } else if (text.length <= 9) {  // longer runs wrap; only short ones have a plain value
        FUZZ_CHECK(value == (digits.empty() ? 0 : std::atoi(digits.c_str())));
    }
    // One byte more reaches the terminator, which is no digit.
    FUZZ_CHECK(ParseSpacedNumber(text.get(), length + 1) == -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const int bufferSize = static_cast<int>(input.Byte() % 40) - 2;  // -2 .. 37
    const ExactText a = TakeText(input);
    const ExactText b = TakeText(input);

    CheckBoundedCopy(a, bufferSize);
    CheckBoundedAppend(a, b, bufferSize);
    CheckTrimTrailingSpaces(a);
    CheckIsTrailByteAt(a);
    CheckMatchLeadingText(a, b);
    CheckParseSpacedNumber(a);
    return 0;
}
