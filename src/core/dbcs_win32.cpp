#include "core/dbcs.h"

#include <windows.h>

bool IsLeadByteCp(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

const char* NextChar(const char* text)
{
    if (*text == 0) return text;
    if (IsDBCSLeadByte(static_cast<unsigned char>(*text)) && text[1] == 0) return text + 1;
    return CharNextA(text);
}
