#include "extract/password_list.h"

void SplitPasswordCandidates(const char* bytes, int length, void (*take)(void* context, const char* candidate),
                             void* context)
{
    if (length > kPasswordListBytes) length = kPasswordListBytes;
    char piece[kPasswordListBytes + 1];
    int pieceLength = 0;
    for (int i = 0; i <= length; ++i) {
        // The end of the bytes ends the last piece like a separator.
        const unsigned char byte = i < length ? static_cast<unsigned char>(bytes[i]) : 0;
        if (byte >= 0x20) {
            piece[pieceLength++] = static_cast<char>(byte);
            continue;
        }
        if (pieceLength > 0) {
            piece[pieceLength] = 0;
            take(context, piece);
            pieceLength = 0;
        }
        if (byte == 0) return;
    }
}
