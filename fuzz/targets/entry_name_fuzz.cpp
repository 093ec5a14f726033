// The guard on names that an archive chooses. Whatever it accepts, joined to
// the destination folder, must stay inside it: no leading separator, no colon
// (drive or stream), and no component that Windows would turn into "", "." or
// ".." by dropping its trailing dots and blanks or a final half character.
// Input: the name.
#include "extract/entry_name.h"

#include <string>

#include "core/dbcs.h"
#include "fuzz_support.h"

namespace {

const char kFolder[] = "C:\\dest\\";

bool IsSeparator(char byte) { return byte == '\\' || byte == '/'; }

// The component as Windows opens it: trailing dots and blanks dropped.
bool CollapsesToNothing(const std::string& component)
{
    return component.find_last_not_of(". ") == std::string::npos;
}

void CheckStaysInside(const std::string& joined)
{
    const char* text = joined.c_str();
    const size_t start = sizeof kFolder - 1;
    FUZZ_CHECK(!IsSeparator(text[start]));
    std::string component;
    for (const char* p = text + start;; p = NextChar(p)) {
        const bool single = !IsLeadByteCp(static_cast<unsigned char>(*p));
        if (*p == 0 || (single && IsSeparator(*p))) {
            FUZZ_CHECK(!CollapsesToNothing(component));
            if (*p == 0) break;
            component.clear();
            continue;
        }
        FUZZ_CHECK(!(single && *p == ':'));
        // A lead byte right before the end is half a character: the system's
        // conversion of the name to Unicode may drop it, "..\x81" opening "..".
        if (!single && p[1] == 0) continue;
        component.append(p, NextChar(p));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ExactText name = MakeText(data, size);
    const int inside = IsEntryNameInside(name.get());
    FUZZ_CHECK(inside == 0 || inside == 1);
    if (inside) CheckStaysInside(kFolder + std::string(name.get()));
    return 0;
}
