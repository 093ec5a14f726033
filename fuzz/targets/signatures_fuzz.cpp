// Identification over hostile file contents. The first byte picks what is
// driven by the rest of the input:
//   0: the windows identification reads, in file order: the 128-byte head,
//      the 18 Game Boy bytes, the Mega Drive blocks A and B (80 each) and the
//      128-byte tag; a window the input does not fill is a short read;
//   1: CleanHeaderText over the rest, as a field of exactly that width;
//   2: MatchSignature: a pattern up to a zero byte, then the bytes.
#include "identify/signatures.h"

#include <string>

#include "fuzz_support.h"

namespace {

// A window of exactly size bytes, zero where the read came short.
std::unique_ptr<unsigned char[]> ReadWindow(FuzzInput& input, size_t size, int* count)
{
    std::unique_ptr<unsigned char[]> window(new unsigned char[size]());
    const uint8_t* bytes;
    *count = static_cast<int>(input.Take(size, &bytes));
    std::memcpy(window.get(), bytes, *count);
    return window;
}

void CheckDescription(const std::unique_ptr<char[]>& description)
{
    FUZZ_CHECK(std::memchr(description.get(), 0, kDescriptionBuffer) != nullptr);
}

void DriveWindows(FuzzInput& input)
{
    int count;
    auto head = ReadWindow(input, kHeadWindow, &count);
    const int row = MatchSignatureTable(head.get());
    FUZZ_CHECK(row >= 0 && row <= 23);
    if (row > 0) {
        const SignatureEntry& entry = SignatureTable[row - 1];
        FUZZ_CHECK(MatchSignature(head.get() + entry.offset, entry.pattern) == 1);
    }

    auto gameBoy = ReadWindow(input, kGameBoyWindow, &count);
    auto description = ExactBlock(kDescriptionBuffer, 'Z');
    if (DescribeGameBoy(gameBoy.get(), count, description.get())) {
        FUZZ_CHECK(count == kGameBoyWindow);
        CheckDescription(description);
    }

    int countA, countB;
    auto blockA = ReadWindow(input, kSmdWindow, &countA);
    auto blockB = ReadWindow(input, kSmdWindow, &countB);
    const int mayMatch = MegaDriveBlockAMayMatch(blockA.get(), countA);
    description = ExactBlock(kDescriptionBuffer, 'Z');
    if (DescribeMegaDrive(blockA.get(), countA, blockB.get(), countB, description.get())) {
        // Identification reads block B only when block A may match.
        FUZZ_CHECK(mayMatch);
        CheckDescription(description);
    }

    auto tag = ReadWindow(input, kTagWindow, &count);
    description = ExactBlock(kDescriptionBuffer, 'Z');
    if (DescribeMp3(tag.get(), count, description.get())) {
        FUZZ_CHECK(count == kTagWindow);
        CheckDescription(description);
    }
}

void DriveCleanHeaderText(FuzzInput& input)
{
    const size_t width = input.size;
    std::unique_ptr<unsigned char[]> field(new unsigned char[width]);
    std::memcpy(field.get(), input.data, width);
    const char* text = CleanHeaderText(field.get(), static_cast<int>(width));
    if (text == nullptr) return;
    const size_t length = std::strlen(text);
    FUZZ_CHECK(length > 0 && length <= width && length <= 255);
    for (size_t i = 0; i < length; ++i) {
        FUZZ_CHECK(static_cast<unsigned char>(text[i]) >= 0x20);
        FUZZ_CHECK(!(text[i] == ' ' && text[i + 1] == ' '));
    }
    // Header fields are at most 48 bytes wide. Wider than the 255 bytes the
    // text holds, the cut may leave a blank or half a character at the end.
    if (width > 255) return;
    FUZZ_CHECK(text[length - 1] != ' ');
    for (size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
            const unsigned char trail = static_cast<unsigned char>(text[++i]);
            FUZZ_CHECK(trail >= 0x40 && trail <= 0xFC && trail != 0x7F);
        }
    }
}

// Wherever the pattern asks for any byte or a digit, put one in: the bytes
// must match. The bytes are exactly as long as the pattern.
void DriveMatchSignature(FuzzInput& input)
{
    const ExactText pattern = TakeText(input);
    FUZZ_CHECK(MatchSignature(reinterpret_cast<const unsigned char*>("x"), nullptr) == 0);
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[pattern.length]);
    std::unique_ptr<unsigned char[]> instance(new unsigned char[pattern.length]);
    for (size_t i = 0; i < pattern.length; ++i) {
        const unsigned char want = static_cast<unsigned char>(pattern[i]);
        const unsigned char other = input.Byte();
        bytes[i] = other;
        if (want == kPatternAnyByte) {
            instance[i] = other;
        } else if (want == kPatternDigit) {
            instance[i] = static_cast<unsigned char>('0' + other % 10);
        } else {
            instance[i] = want;
        }
    }
    FUZZ_CHECK(MatchSignature(instance.get(), pattern.get()) == 1);
    const int matched = MatchSignature(bytes.get(), pattern.get());
    FUZZ_CHECK(matched == 0 || matched == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    switch (input.Byte() % 3) {
    case 0: DriveWindows(input); break;
    case 1: DriveCleanHeaderText(input); break;
    default: DriveMatchSignature(input); break;
    }
    return 0;
}
