// Path splitting over hostile code page 932 bytes: trail bytes that look like
// separators or dots, lone lead bytes before the terminator.
// Input: a parameter byte (bit 0: room for one more byte), then the path.
#include "core/paths.h"

#include <vector>

#include "core/dbcs.h"
#include "fuzz_support.h"

namespace {

bool IsSeparator(char byte) { return byte == '\\' || byte == '/' || byte == ':'; }

// Where each character starts, by the forward walk from the path's start.
std::vector<size_t> CharacterStarts(const char* path)
{
    std::vector<size_t> starts;
    for (const char* p = path; *p != 0; p = NextChar(p)) starts.push_back(static_cast<size_t>(p - path));
    return starts;
}

bool IsSingleByte(const char* path, size_t at) { return !IsLeadByteCp(static_cast<unsigned char>(path[at])); }

ExactText Copy(const ExactText& path) { return MakeText(reinterpret_cast<const uint8_t*>(path.get()), path.length); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const bool room = input.Byte() & 1;
    const ExactText path = TakeText(input);
    const char* text = path.get();
    const std::vector<size_t> starts = CharacterStarts(text);
    FUZZ_CHECK(starts.empty() || starts.back() < path.length);

    // The last component: after the last real separator, and none inside it.
    const char* component = LastPathComponent(text);
    FUZZ_CHECK(component >= text && component <= text + path.length);
    const size_t folder = static_cast<size_t>(component - text);
    FUZZ_CHECK(FolderPartLength(text) == static_cast<int>(folder));
    FUZZ_CHECK(LastPathComponent(path.block.get()) == component);
    size_t lastDot = 0;  // one past the last real dot of the component
    bool separatorBefore = folder == 0;
    for (size_t at : starts) {
        const bool single = IsSingleByte(text, at);
        if (at >= folder) FUZZ_CHECK(!(single && IsSeparator(text[at])));
        if (at + 1 == folder) separatorBefore = single && IsSeparator(text[at]);
        if (at >= folder && single && text[at] == '.') lastDot = at + 1;
    }
    FUZZ_CHECK(separatorBefore);

    ExactText cut = Copy(path);
    CutToFolder(cut.get());
    FUZZ_CHECK(std::strlen(cut.get()) == (folder > 0 ? folder : path.length));

    const char* extension = PathExtension(text);
    if (lastDot == 0) {
        FUZZ_CHECK(extension == nullptr);
    } else {
        FUZZ_CHECK(extension == text + lastDot);
    }
    ExactText stripped = Copy(path);
    StripExtension(stripped.get());
    FUZZ_CHECK(std::strlen(stripped.get()) == (lastDot > 0 ? lastDot - 1 : path.length));

    // A real final backslash: the last character is a single-byte backslash.
    const bool realBackslash = !starts.empty() && starts.back() == path.length - 1 && text[path.length - 1] == '\\';

    const size_t capacity = path.length + 1 + (room ? 1 : 0);
    auto ensured = ExactBlock(capacity, 'Z');
    std::memcpy(ensured.get(), text, path.length + 1);
    EnsureTrailingBackslash(ensured.get(), static_cast<int>(capacity));
    const size_t ensuredLength = std::strlen(ensured.get());
    FUZZ_CHECK(std::memcmp(ensured.get(), text, path.length) == 0);
    if (realBackslash || !room) {
        FUZZ_CHECK(ensuredLength == path.length);
    } else {
        FUZZ_CHECK(ensuredLength == path.length + 1 && ensured[path.length] == '\\');
    }

    ExactText dropped = Copy(path);
    DropTrailingBackslash(dropped.get());
    FUZZ_CHECK(std::strlen(dropped.get()) == (realBackslash && path.length >= 4 ? path.length - 1 : path.length));
    return 0;
}
