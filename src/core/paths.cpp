#include "core/paths.h"

#include <cstring>

#include "core/dbcs.h"
#include "core/text.h"

namespace {

bool IsSeparator(char byte) { return byte == '\\' || byte == '/' || byte == ':'; }

// The last byte for which the predicate holds, walking forward over whole
// characters so that trail bytes are never examined; nullptr when none.
template <typename Predicate>
const char* LastCharWhere(const char* text, Predicate predicate)
{
    const char* found = nullptr;
    for (const char* p = text; *p != 0; p = NextChar(p)) {
        if (!IsLeadByteCp(static_cast<unsigned char>(*p)) && predicate(*p)) found = p;
    }
    return found;
}

const char* LastDotOfLastComponent(const char* path)
{
    return LastCharWhere(LastPathComponent(path), [](char byte) { return byte == '.'; });
}

}  // namespace

const char* LastPathComponent(const char* path)
{
    const char* separator = LastCharWhere(path, IsSeparator);
    return separator != nullptr ? separator + 1 : path;
}

char* LastPathComponent(char* path)
{
    return const_cast<char*>(LastPathComponent(static_cast<const char*>(path)));
}

int FolderPartLength(const char* path) { return static_cast<int>(LastPathComponent(path) - path); }

void CutToFolder(char* path)
{
    const int length = FolderPartLength(path);
    if (length > 0) path[length] = 0;
}

const char* PathExtension(const char* path)
{
    const char* dot = LastDotOfLastComponent(path);
    return dot != nullptr ? dot + 1 : nullptr;
}

void StripExtension(char* path)
{
    const char* dot = LastDotOfLastComponent(path);
    if (dot != nullptr) path[dot - path] = 0;
}

void EnsureTrailingBackslash(char* path, int size)
{
    const int length = static_cast<int>(std::strlen(path));
    if (length > 0 && path[length - 1] == '\\' && !IsTrailByteAt(path, length - 1)) return;
    if (length + 1 >= size) return;
    path[length] = '\\';
    path[length + 1] = 0;
}

void DropTrailingBackslash(char* path)
{
    const int length = static_cast<int>(std::strlen(path));
    if (length >= 4 && path[length - 1] == '\\' && !IsTrailByteAt(path, length - 1)) path[length - 1] = 0;
}
