#include "extract/entry_name.h"

#include <cstring>

#include "core/dbcs.h"

namespace {

bool IsSeparator(char byte) { return byte == '\\' || byte == '/'; }

char Upper(char byte) { return (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 'a' + 'A') : byte; }

// Device names answer from every folder, also with an extension ("NUL.txt").
bool IsDeviceName(const char* component, int length)
{
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    int base = 0;
    while (base < length && component[base] != '.') ++base;
    while (base > 0 && component[base - 1] == ' ') --base;
    char upper[8];
    if (base == 0 || base >= static_cast<int>(sizeof upper)) return false;
    for (int i = 0; i < base; ++i) upper[i] = Upper(component[i]);
    upper[base] = 0;
    for (const char* device : kDevices) {
        if (std::strcmp(upper, device) == 0) return true;
    }
    return base == 4 && (std::strncmp(upper, "COM", 3) == 0 || std::strncmp(upper, "LPT", 3) == 0) &&
           upper[3] >= '0' && upper[3] <= '9';
}

bool IsAcceptableComponent(const char* component, int length)
{
    if (length == 0) return false;
    const char last = component[length - 1];
    // Windows drops trailing dots and blanks, so "..." or "a." is not what it says.
    if (last == '.' || last == ' ') return false;
    return !IsDeviceName(component, length);
}

}  // namespace

int IsEntryNameInside(const char* name)
{
    if (name == nullptr || *name == 0 || IsSeparator(*name)) return 0;
    const char* component = name;
    const char* p = name;
    for (;;) {
        const bool lead = IsLeadByteCp(static_cast<unsigned char>(*p));
        if (*p == 0 || (!lead && IsSeparator(*p))) {
            // The last byte of a component may be a trail byte ("表" ends in 0x5C);
            // the check of its last byte below only looks at '.' and ' ', which
            // are never trail bytes.
            if (!IsAcceptableComponent(component, static_cast<int>(p - component))) return 0;
            if (*p == 0) return 1;
            component = p + 1;
        } else if (!lead && *p == ':') {
            return 0;
        } else if (lead && p[1] == 0) {
            // Half a character at the end: converting the name to Unicode may
            // drop it, and "..\x81" would then open "..".
            return 0;
        }
        p = NextChar(p);
    }
}
