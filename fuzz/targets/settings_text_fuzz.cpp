// The text forms of the settings values, as read from a hand-edited
// "Tolva.ini". Input: a parameter byte (bits 0-2: styles to write as
// letters, bits 3-5: styles already set before letters are applied), then
// the value's text.
#include "shell/settings_text.h"

#include <string>

#include "fuzz_support.h"

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

void CheckFlag(const ExactText& text)
{
    std::string trimmed(text.get(), text.length);
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    FUZZ_CHECK(TextToFlag(text.get()) == (trimmed == "TRUE" || trimmed == "true"));
}

std::string Hex(int32_t value)
{
    auto out = ExactBlock(9, 'Z');
    ValueToHex(value, out.get());
    FUZZ_CHECK(std::strlen(out.get()) == 8);
    for (int i = 0; i < 8; ++i) FUZZ_CHECK(IsHexDigit(out[i]) && Upper(out[i]) == out[i]);
    return out.get();
}

// The leading hex digits (eight at most) are the value; written back they
// are the same digits in upper case with leading zeros.
void CheckHex(const ExactText& text, int32_t other)
{
    size_t digits = 0;
    while (digits < 8 && digits < text.length && IsHexDigit(text[digits])) ++digits;
    std::string expected(8 - digits, '0');
    for (size_t i = 0; i < digits; ++i) expected += Upper(text[i]);
    FUZZ_CHECK(Hex(HexToValue(text.get())) == expected);
    FUZZ_CHECK(HexToValue(Hex(other).c_str()) == other);
}

void CheckStyles(const ExactText& text, uint8_t parameter)
{
    const int italic = parameter & 1, underline = parameter & 2, strikeOut = parameter & 4;
    auto letters = ExactBlock(7, 'Z');
    StyleLetters(italic, underline, strikeOut, letters.get());
    FUZZ_CHECK(std::memchr(letters.get(), 0, 7) != nullptr);
    FUZZ_CHECK((std::strcmp(letters.get(), "normal") == 0) == !(italic || underline || strikeOut));
    unsigned char i = 0, u = 0, s = 0;
    ApplyStyleLetters(letters.get(), &i, &u, &s);
    FUZZ_CHECK(i == (italic != 0) && u == (underline != 0) && s == (strikeOut != 0));

    // Letters only ever set a style.
    const unsigned char before[3] = {static_cast<unsigned char>((parameter >> 3) & 1),
                                     static_cast<unsigned char>((parameter >> 4) & 1),
                                     static_cast<unsigned char>((parameter >> 5) & 1)};
    unsigned char after[3] = {before[0], before[1], before[2]};
    ApplyStyleLetters(text.get(), &after[0], &after[1], &after[2]);
    for (int k = 0; k < 3; ++k) FUZZ_CHECK(after[k] == before[k] || after[k] == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const uint8_t parameter = input.Byte();
    const ExactText text = TakeText(input);
    uint32_t other = parameter;
    for (size_t i = 0; i < text.length && i < 4; ++i) other = other << 8 | static_cast<uint8_t>(text[i]);

    CheckFlag(text);
    CheckHex(text, static_cast<int32_t>(other));
    CheckStyles(text, parameter);
    return 0;
}
