#include "core/text.h"

namespace {

bool InLeadRange(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

void BoundedCopy(char* destination, const char* source, int size)
{
    if (size < 1) return;
    int length = 0;
    while (length < size - 1 && source[length] != 0) {
        destination[length] = source[length];
        ++length;
    }
    destination[length] = 0;
}

int BoundedAppend(char* destination, const char* source, int size)
{
    const int limit = size - 1;
    if (limit <= 0) {
        if (size == 1) destination[0] = 0;
        return source[0] != 0;
    }
    int length = 0;
    while (length < limit && destination[length] != 0) ++length;
    while (*source != 0 && length < limit) destination[length++] = *source++;
    destination[length] = 0;
    return *source != 0;
}

void TrimTrailingSpaces(char* text)
{
    int length = 0;
    while (text[length] != 0) ++length;
    while (length > 0 && text[length - 1] == ' ') text[--length] = 0;
}

int IsTrailByteAt(const char* text, int position)
{
    int run = 0;
    for (int i = position - 1; i >= 0 && InLeadRange(static_cast<unsigned char>(text[i])); --i) ++run;
    return run % 2;
}

int MatchLeadingText(const char* subject, const char* pattern)
{
    if (subject == nullptr || pattern == nullptr || *pattern == 0) return 0;
    int taken = 0;
    while (*pattern != 0) {
        char byte = subject[taken];
        ++taken;
        if (byte == ' ') continue;
        if (byte >= 'a' && byte <= 'z') byte = static_cast<char>(byte - 'a' + 'A');
        if (byte == 0 || byte != *pattern) return 0;
        ++pattern;
    }
    return taken;
}

int ParseSpacedNumber(const char* text, int length)
{
    int value = 0;
    for (int i = 0; i < length; ++i) {
        const char byte = text[i];
        unsigned digit;
        if (byte == ' ') {
            digit = 0;
        } else if (byte >= '0' && byte <= '9') {
            digit = static_cast<unsigned>(byte - '0');
        } else {
            return -1;
        }
        // Volume numbers are two digits; wrap instead of overflowing on longer runs.
        value = static_cast<int>(static_cast<unsigned>(value) * 10u + digit);
    }
    return value;
}
