// Code page 932 without the platform, for native builds.
#include "core/dbcs.h"

bool IsLeadByteCp(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

const char* NextChar(const char* text)
{
    if (*text == 0) return text;
    if (IsLeadByteCp(static_cast<unsigned char>(*text)) && text[1] != 0) return text + 2;
    return text + 1;
}
