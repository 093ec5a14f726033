// Pieces every stand-in archiver library shares; see standin_common.h.
#include "standin_common.h"

#include <cstdio>
#include <cstring>

HMODULE g_standinModule;

// A wrong convention in the program would corrupt the stack of a real library;
// here the stack is put right and the fault reported.
extern "C" __attribute__((naked)) std::uint32_t StandinCallChecked(const void*, const std::uint32_t*, int, int*)
{
    __asm__(
        "    pushl %ebp\n"
        "    movl  %esp, %ebp\n"
        "    pushl %ebx\n"
        "    pushl %esi\n"
        "    pushl %edi\n"
        "    movl  12(%ebp), %esi\n"
        "    movl  16(%ebp), %ecx\n"
        "1:  testl %ecx, %ecx\n"
        "    jz    2f\n"
        "    decl  %ecx\n"
        "    pushl (%esi,%ecx,4)\n"
        "    jmp   1b\n"
        "2:  call  *8(%ebp)\n"
        "    leal  -12(%ebp), %ecx\n"
        "    movl  %esp, %edx\n"
        "    subl  %ecx, %edx\n"
        "    movl  20(%ebp), %ecx\n"
        "    movl  %edx, (%ecx)\n"
        "    leal  -12(%ebp), %esp\n"
        "    popl  %edi\n"
        "    popl  %esi\n"
        "    popl  %ebx\n"
        "    popl  %ebp\n"
        "    ret\n");
}

std::uint32_t Arg(const void* pointer) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer)); }

// ---------------------------------------------------------------- call log

std::string Readable(const char* bytes, size_t length)
{
    // Only control bytes are escaped: paths and Shift-JIS names stay legible,
    // and a tab or line break can never be taken for a field or line separator.
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x20) {
            text += static_cast<char>(byte);
        } else if (byte == '\n') {
            text += "\\n";
        } else if (byte == '\r') {
            text += "\\r";
        } else if (byte == '\t') {
            text += "\\t";
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return text;
}

std::string Readable(const std::string& bytes) { return Readable(bytes.data(), bytes.size()); }
std::string Readable(const char* text) { return text ? Readable(text, std::strlen(text)) : std::string(); }

// Index just after the last path separator, stepping over double-byte
// characters: a trail byte 0x5C is no separator.
size_t AfterLastSeparator(const std::string& path)
{
    size_t after = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            after = i + 1;
        }
    }
    return after;
}

void LogLine(const std::string& line)
{
    char modulePath[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(g_standinModule, modulePath, sizeof modulePath);
    if (length == 0 || length >= sizeof modulePath) return;
    std::string path(modulePath, length);
    path.resize(AfterLastSeparator(path));
    path += "standin-calls.log";
    // Opened and closed per line, so that the log is complete even when the
    // process dies inside a later call.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Number(long long value) { return std::to_string(value); }

// ---------------------------------------------------------------- script values

std::string Unescape(const std::string& value)
{
    std::string bytes;
    for (size_t i = 0; i < value.size(); ++i) {
        // A double-byte character is copied whole: its trail byte may be 0x5C.
        if (IsDBCSLeadByte(static_cast<BYTE>(value[i])) && i + 1 < value.size()) {
            bytes += value.substr(i, 2);
            ++i;
            continue;
        }
        if (value[i] != '\\' || i + 1 >= value.size()) {
            bytes += value[i];
            continue;
        }
        const char next = value[i + 1];
        auto hex = [](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        switch (next) {
        case '\\': bytes += '\\'; ++i; break;
        case 'n': bytes += '\n'; ++i; break;
        case 'r': bytes += '\r'; ++i; break;
        case 't': bytes += '\t'; ++i; break;
        case 's': bytes += ' '; ++i; break;
        case 'x':
            if (i + 3 < value.size() && hex(value[i + 2]) >= 0 && hex(value[i + 3]) >= 0) {
                bytes += static_cast<char>(hex(value[i + 2]) * 16 + hex(value[i + 3]));
                i += 3;
            } else {
                bytes += '\\';
            }
            break;
        default: bytes += '\\'; break;  // anything else stays as written
        }
    }
    return bytes;
}

bool ParseNumber(const std::string& text, long long& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    unsigned long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull) return false;
    }
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

std::string TakeWord(std::string& rest)
{
    const size_t blank = rest.find(' ');
    std::string word = rest.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
    return word;
}

// ---------------------------------------------------------------- files

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return true;
}

bool IsExistingFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string NativeName(const std::string& name, std::vector<size_t>& separators)
{
    std::string native = name;
    for (size_t i = 0; i < native.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(native[i])) && i + 1 < native.size()) {
            ++i;
        } else if (IsSeparator(native[i])) {
            native[i] = '\\';
            separators.push_back(i);
        }
    }
    return native;
}

bool WriteFiller(HANDLE file, long long bytes)
{
    std::string chunk(65536, 0);
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>('a' + i % 26);
    long long left = bytes;
    long long offset = 0;
    bool ok = true;
    DWORD written = 0;
    while (ok && left > 0) {
        // The filler continues across chunks: byte i is always 'a' + i % 26.
        const size_t start = static_cast<size_t>(offset % 26);
        const DWORD take = static_cast<DWORD>(left < 65536 - 26 ? left : 65536 - 26);
        ok = WriteFile(file, chunk.data() + start, take, &written, nullptr) && written == take;
        left -= take;
        offset += take;
    }
    return ok;
}
