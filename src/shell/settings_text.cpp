#include "shell/settings_text.h"

#include <cstring>

int TextToFlag(const char* text)
{
    // Compared in place: a copy into a fixed buffer would cut a long value, and
    // "TRUE", a run of blanks and more text would then read as TRUE.
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ') --length;
    return length == 4 && (std::strncmp(text, "TRUE", 4) == 0 || std::strncmp(text, "true", 4) == 0);
}

const char* FlagToText(int flag) { return flag ? "TRUE" : "FALSE"; }

int32_t HexToValue(const char* text)
{
    uint32_t value = 0;
    for (int i = 0; i < 8; ++i) {
        const char c = text[i];
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else {
            break;
        }
        value = value * 16 + digit;
    }
    return static_cast<int32_t>(value);
}

void ValueToHex(int32_t value, char out[9])
{
    static const char kDigits[] = "0123456789ABCDEF";
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 7; i >= 0; --i) {
        out[i] = kDigits[bits & 0xF];
        bits >>= 4;
    }
    out[8] = 0;
}

void StyleLetters(int italic, int underline, int strikeOut, char out[7])
{
    out[0] = 0;
    if (italic) std::strcat(out, "I");
    if (underline) std::strcat(out, "U");
    if (strikeOut) std::strcat(out, "S");
    if (out[0] == 0) std::strcpy(out, "normal");
}

void ApplyStyleLetters(const char* text, unsigned char* italic, unsigned char* underline, unsigned char* strikeOut)
{
    for (; *text != 0; ++text) {
        switch (*text) {
        case 'I': case 'i': *italic = 1; break;
        case 'U': case 'u': *underline = 1; break;
        case 'S': case 's': *strikeOut = 1; break;
        default: break;
        }
    }
}
