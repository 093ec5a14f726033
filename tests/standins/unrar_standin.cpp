// Stand-in "unrar.dll" for the tests: the seven entry points RAROpenArchive,
// RARCloseArchive, RARReadHeader, RARProcessFile, RARSetChangeVolProc,
// RARSetProcessDataProc and RARSetPassword, standard call, plain names. Built
// with STANDIN_UNRAR_NO_PASSWORD it lacks RARSetPassword.
//
// Every volume of a test archive is a file of its own. Its first line is the
// signature "Rar!\x1A\x07\x00" (the older format, whose volumes are named
// x.rar, x.r00, x.r01 …) or "Rar!\x1A\x07\x01\x00" (RAR 5, which numbers its
// volumes in the name: x.part1.rar, x.part2.rar …). The rest is a script, one
// command a line (# comments and blank lines are skipped; values take the
// escapes \\ \n \r \t \s \xHH, the last value of a line runs to its end):
//   entry NAME CONTENT     an entry; '/' or '\' separate folders, a final one
//                          makes a folder entry
//   big NAME BYTES         an entry of BYTES filler bytes, byte i being 'a' + i % 26
//   password PW            later entries are encrypted with PW; "password -" ends it
//   headerpassword PW      the headers are encrypted with PW, and so are the entries
//   continues              the entry of the line before goes on in the next
//                          volume; no entry may follow in this volume
//   nextvolume             the set goes on in the next volume after this one's
//                          last entry, which is whole
//   volume N [NAME]        this is volume N of its set (0, the first, unless
//                          said); with NAME (N > 0) the volume begins with the
//                          rest of entry NAME, which the previous volume split
//                          with "continues"; "continues" right after this line
//                          splits that rest again
//   comment TEXT           the archive comment, delivered into the open record's buffer
//   openresult N           RAROpenArchive fails with N (only for the volume it opens)
//   headerresult N after K the header read after K entries answers N, and so
//                          does every later read on that handle
//   processresult N at K   the process call for the K-th entry (from 1) answers
//                          N and writes nothing
// The commands of a later volume join in when the library moves on to it;
// K counts entries through the handle, across volumes.
//
// Answers are those of the real library (version 6), whose behaviour the
// program must survive:
// - Open: 15 when the file cannot be read, 13 without a signature, -99 for a
//   script that cannot be read; then no handle.
// - Header read: 0 with the record filled (names with '\', flags 1 = the entry
//   began in an earlier volume, 2 = it goes on in the next, 4 = encrypted,
//   0x20 = folder); 10 at the end of the set. In listing mode (open mode 0) the
//   rest of an entry begun in an earlier volume is passed over without a
//   header, so a later volume opened alone that holds only such a rest has no
//   entry: the first read answers 10. In extraction mode that rest is
//   reported, and testing or extracting it as the first entry answers 12.
// - Processing: operation 0 skips, 1 tests, 2 extracts into the destination
//   folder (folders made as needed), or to the destination name when one is
//   given. An encrypted entry needs the password of RARSetPassword: without
//   one 22; a wrong one gives 24 in RAR 5, and the library forgets it; the
//   older format has no password check and fails on the CRC, 12. Nothing is
//   written then.
// - Encrypted headers: the header read answers 22 without a password and 24
//   with a wrong one, and so does every later read on the handle: the archive
//   must be opened again.
// - Next volume: its name is made from the current volume's name as the real
//   library makes it (RAR 5: the digits in the name counted up, the first
//   letter when there are none; older format: .rar → .r00 → .r01 …); when
//   that file is missing the older naming is tried once. While the file is
//   missing the change-volume callback is asked with mode 0 and the name in a
//   2048-byte buffer: 0 gives the archive up (15), any other answer tries the
//   name then in the buffer. Once the file is there, mode 1 tells the callback,
//   and an answer of 0 gives up too (15; 12 while extracting, where the entry
//   then fails its CRC). The change happens in the process call of a "continues"
//   entry, or in the header read after a "nextvolume" volume's last entry and
//   after a process call that gave up. Without a callback a missing volume gives
//   up at once and an existing one is opened silently. A next volume that is no
//   RAR file answers 18.
// - Process data callback: called with the entry's bytes while testing or
//   extracting; an answer of 0 stops the entry with 21.
//
// Every call and callback answer is appended to "standin-calls.log" beside the
// library. A callback that does not use the standard calling convention, a name
// written past the 2048-byte buffer or a call with a handle that is not open is
// logged as a fault and answered with -99.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "standin_common.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

// The records of the library's 32-bit interface.
struct RAROpenArchiveData {
    char* ArcName;
    unsigned OpenMode;
    unsigned OpenResult;
    char* CmtBuf;
    unsigned CmtBufSize;
    unsigned CmtSize;
    unsigned CmtState;
};

struct RARHeaderData {
    char ArcName[260];
    char FileName[260];
    unsigned Flags;
    unsigned PackSize;
    unsigned UnpSize;
    unsigned HostOS;
    unsigned FileCRC;
    unsigned FileTime;
    unsigned UnpVer;
    unsigned Method;
    unsigned FileAttr;
    char* CmtBuf;
    unsigned CmtBufSize;
    unsigned CmtSize;
    unsigned CmtState;
};

static_assert(sizeof(RAROpenArchiveData) == 28, "the open record of the 32-bit interface");
static_assert(sizeof(RARHeaderData) == 572, "the header record of the 32-bit interface");
static_assert(offsetof(RARHeaderData, Flags) == 520 && offsetof(RARHeaderData, CmtBuf) == 556,
              "header record fields at their byte positions");

namespace {

enum Code {
    kSuccess = 0,
    kEndArchive = 10,
    kBadData = 12,
    kBadArchive = 13,
    kOpenError = 15,
    kCreateError = 16,
    kReadError = 18,
    kWriteError = 19,
    kSmallBuffer = 20,
    kUnknown = 21,
    kMissingPassword = 22,
    kBadPassword = 24,
};

enum OpenMode { kList = 0, kExtract = 1, kListIncludingSplit = 2 };
enum Operation { kSkip = 0, kTest = 1, kExtractEntry = 2 };
enum VolumeMode { kAsk = 0, kNotify = 1 };
enum Flags { kSplitBefore = 1, kSplitAfter = 2, kEncrypted = 4, kDirectory = 0x20 };

// The real library's name buffer for the change-volume callback.
const size_t kVolumeNameSize = 2048;
// A program that keeps answering "go on" for a volume that never appears would
// loop for ever in the real library; here it is reported after this many asks.
const int kMostAsks = 16;

const std::string kOldSignature("Rar!\x1A\x07\x00", 7);
const std::string kNewSignature("Rar!\x1A\x07\x01\x00", 8);

struct Entry {
    std::string name;             // as the script writes it
    std::string content;
    long long fillerBytes = -1;   // "big": the size; -1 for CONTENT
    std::string password;         // empty: not encrypted
    bool continues = false;       // goes on in the next volume
    bool rest = false;            // the rest of an entry begun in the previous volume
};

struct Scripted {
    int result;
    long long at;
};

struct Volume {
    std::string path;
    bool newFormat = false;
    std::vector<Entry> entries;
    bool nextVolume = false;
    bool headersEncrypted = false;
    std::string headerPassword;
    bool hasComment = false;
    std::string comment;
    int openResult = 0;
    std::vector<Scripted> headerResults;
    std::vector<Scripted> processResults;
};

struct Archive {
    int mode = 0;
    Volume volume;
    size_t next = 0;               // the volume's entry whose header comes next
    Entry current;                 // the entry whose header was read last
    bool headerPending = false;    // read and not yet processed
    long long entriesRead = 0;
    bool headersUnlocked = false;  // the current volume's headers are decrypted
    int spent = 0;                 // non-zero: every later header read answers this
    bool processedData = false;    // an entry was tested or extracted
    std::string password;          // empty: none set
    const void* changeVolumeProc = nullptr;
    const void* processDataProc = nullptr;
    std::vector<Scripted> headerResults;
    std::vector<Scripted> processResults;
};

std::vector<Archive*> g_archives;

// ---------------------------------------------------------------- script

bool Fault(int lineNumber, const std::string& line, const char* why)
{
    LogLine("fault\tscript line " + Number(lineNumber) + " cannot be read (" + why + "): " + Readable(line));
    return false;
}

// Reads the script after the signature line. A line it cannot read is logged
// as a fault, so that a mistyped test does nothing at all instead of passing by luck.
bool ParseScript(const std::string& file, Volume& volume)
{
    size_t position = file.find('\n');
    position = position == std::string::npos ? file.size() : position + 1;
    int lineNumber = 1;
    std::string password;
    bool split = false;  // "continues" was seen: no entry may follow
    while (position < file.size()) {
        size_t end = file.find('\n', position);
        if (end == std::string::npos) end = file.size();
        std::string line = file.substr(position, end - position);
        position = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;

        std::string rest = line;
        const std::string op = TakeWord(rest);
        long long number = 0;
        if (op == "entry" || op == "big") {
            if (split) return Fault(lineNumber, line, "an entry after \"continues\"");
            Entry entry;
            entry.name = Unescape(TakeWord(rest));
            if (op == "entry") {
                entry.content = Unescape(rest);
            } else if (!ParseNumber(rest, entry.fillerBytes) || entry.fillerBytes < 0) {
                return Fault(lineNumber, line, "no size");
            }
            if (entry.name.empty()) return Fault(lineNumber, line, "no name");
            entry.password = password;
            volume.entries.push_back(entry);
        } else if (op == "password") {
            password = rest == "-" ? std::string() : Unescape(rest);
        } else if (op == "headerpassword") {
            password = Unescape(rest);
            if (password.empty()) return Fault(lineNumber, line, "no password");
            volume.headersEncrypted = true;
            volume.headerPassword = password;
        } else if (op == "continues") {
            if (volume.entries.empty() || split) return Fault(lineNumber, line, "no entry before it");
            volume.entries.back().continues = true;
            volume.nextVolume = true;
            split = true;
        } else if (op == "nextvolume") {
            volume.nextVolume = true;
        } else if (op == "volume") {
            if (!ParseNumber(TakeWord(rest), number) || number < 0) return Fault(lineNumber, line, "no volume number");
            const std::string name = Unescape(rest);
            if (!volume.entries.empty()) return Fault(lineNumber, line, "after an entry");
            if (!name.empty()) {
                if (number == 0) return Fault(lineNumber, line, "the first volume continues nothing");
                Entry entry;
                entry.name = name;
                entry.password = password;
                entry.rest = true;
                volume.entries.push_back(entry);
            }
        } else if (op == "comment") {
            volume.hasComment = true;
            volume.comment = Unescape(rest);
        } else if (op == "openresult") {
            if (!ParseNumber(rest, number)) return Fault(lineNumber, line, "no number");
            volume.openResult = static_cast<int>(number);
        } else if (op == "headerresult" || op == "processresult") {
            long long at = 0;
            const std::string result = TakeWord(rest);
            const std::string word = TakeWord(rest);
            const bool header = op == "headerresult";
            if (!ParseNumber(result, number) || word != (header ? "after" : "at") || !ParseNumber(rest, at) ||
                at < (header ? 0 : 1)) {
                return Fault(lineNumber, line, header ? "not \"N after K\"" : "not \"N at K\" with K from 1");
            }
            (header ? volume.headerResults : volume.processResults).push_back({static_cast<int>(number), at});
        } else {
            return Fault(lineNumber, line, "unknown command");
        }
    }
    return true;
}

// 0 with the volume read, kOpenError when the file cannot be read, kBadArchive
// without a signature, kFaultResult for a script that cannot be read.
int ReadVolume(const std::string& path, Volume& volume)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return kOpenError;
    volume = Volume();
    volume.path = path;
    if (bytes.compare(0, kNewSignature.size(), kNewSignature) == 0) {
        volume.newFormat = true;
    } else if (bytes.compare(0, kOldSignature.size(), kOldSignature) != 0) {
        return kBadArchive;
    }
    return ParseScript(bytes, volume) ? 0 : kFaultResult;
}

// ---------------------------------------------------------------- volume names

std::wstring Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Narrow(const std::wstring& wide)
{
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
    return text;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The character past the end reads as a terminator, as in the library's C strings.
wchar_t At(const std::wstring& text, size_t i) { return i < text.size() ? text[i] : L'\0'; }

// The position of the volume number in a name numbered RAR 5 style: the last
// digits of the name; in "name.part3of5.rar" the first group after a dot.
size_t VolumeNumberPart(const std::wstring& path, size_t nameStart)
{
    if (nameStart >= path.size()) return nameStart;
    size_t last = path.size() - 1;
    while (!IsDigit(path[last]) && last > nameStart) --last;
    size_t scan = last;
    while (IsDigit(path[scan]) && scan > nameStart) --scan;
    while (scan > nameStart && path[scan] != L'.') {
        if (IsDigit(path[scan])) {
            const size_t dot = path.find(L'.', nameStart);
            if (dot != std::wstring::npos && dot < scan) last = scan;
            break;
        }
        --scan;
    }
    return last;
}

// The name of the volume after PATH, made as the real library makes it. A name
// without digits in the RAR 5 naming gets its first letter counted up: the
// library needs some new name, and "trunc.rar" asks for "urunc.rar".
std::string NextVolumeName(const std::string& path, bool oldNumbering)
{
    std::wstring name = Wide(path);
    size_t nameStart = name.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot < nameStart) {
        name += L".rar";
        dot = name.size() - 4;
    } else if (dot + 1 == name.size() || lstrcmpiW(name.c_str() + dot, L".exe") == 0 ||
               lstrcmpiW(name.c_str() + dot, L".sfx") == 0) {
        name.replace(dot, std::wstring::npos, L".rar");
    }
    if (!oldNumbering) {
        size_t digit = VolumeNumberPart(name, nameStart);
        for (;;) {
            if (++name[digit] != L'9' + 1) break;
            name[digit] = L'0';
            if (digit == 0 || !IsDigit(name[digit - 1])) {
                name.insert(digit, 1, L'1');  // part9 → part10
                break;
            }
            --digit;
        }
    } else if (!IsDigit(At(name, dot + 2)) || !IsDigit(At(name, dot + 3))) {
        name.replace(dot + 2, std::wstring::npos, L"00");  // .rar → .r00
    } else {
        size_t digit = name.size() - 1;
        for (;;) {
            if (++name[digit] != L'9' + 1) break;
            if (digit == 0 || name[digit - 1] == L'.') {
                name[digit] = L'a';  // .r99 goes on as .s00, a .999 as .a00
                break;
            }
            name[digit] = L'0';
            --digit;
        }
    }
    return Narrow(name);
}

// ---------------------------------------------------------------- callbacks

// Calls the program back through the standard convention; false (the fault
// logged) when the callback left the stack pointer elsewhere.
bool CallBack(const char* which, const void* fn, const std::uint32_t* args, int count, int& answer)
{
    int imbalance = 0;
    answer = static_cast<int>(StandinCallChecked(fn, args, count, &imbalance));
    if (imbalance == 0) return true;
    LogLine(std::string("fault\t") + which + " callback left the stack pointer " + Number(imbalance) +
            " bytes off: it does not use the standard calling convention");
    return false;
}

// Gives the change-volume callback NAME and MODE; NAME becomes what the
// callback left in the buffer. kFaultResult on a broken contract, else 0.
int AskChangeVolume(Archive& archive, int mode, std::string& name, int& answer)
{
    const size_t guard = 16;
    std::vector<char> buffer(kVolumeNameSize + guard, '\xA5');
    std::fill(buffer.begin(), buffer.begin() + kVolumeNameSize, '\0');
    std::memcpy(buffer.data(), name.data(), name.size() < kVolumeNameSize ? name.size() : kVolumeNameSize - 1);
    const std::uint32_t args[] = {Arg(buffer.data()), static_cast<std::uint32_t>(mode)};
    const bool kept = CallBack("change-volume", archive.changeVolumeProc, args, 2, answer);
    const std::string before = name;
    name.assign(buffer.data(), strnlen(buffer.data(), kVolumeNameSize));
    LogLine("changevol\tmode=" + Number(mode) + "\tname=" + Readable(before) + "\treturned=" + Number(answer) +
            "\tafter=" + Readable(name));
    if (!kept) return kFaultResult;
    for (size_t i = kVolumeNameSize; i < buffer.size(); ++i) {
        if (buffer[i] != '\xA5') {
            LogLine("fault\tchange-volume callback wrote past the end of its " + Number(kVolumeNameSize) +
                    "-byte buffer");
            return kFaultResult;
        }
    }
    return 0;
}

// Hands the bytes of an entry to the process data callback, in chunks as a
// library that unpacks piece by piece does. 0, kUnknown when the callback
// stops the entry, kFaultResult on a broken contract.
int HandOverData(Archive& archive, const Entry& entry)
{
    if (!archive.processDataProc) return 0;
    auto hand = [&](const char* bytes, size_t count) {
        const std::uint32_t args[] = {Arg(bytes), static_cast<std::uint32_t>(count)};
        int answer = 0;
        if (!CallBack("process data", archive.processDataProc, args, 2, answer)) return kFaultResult;
        LogLine("processdata\tcount=" + Number(count) + "\treturned=" + Number(answer));
        return answer == 0 ? static_cast<int>(kUnknown) : 0;
    };
    if (entry.fillerBytes < 0) return entry.content.empty() ? 0 : hand(entry.content.data(), entry.content.size());
    const size_t chunk = 65536;
    std::string filler(chunk + 26, '\0');
    for (size_t i = 0; i < filler.size(); ++i) filler[i] = static_cast<char>('a' + i % 26);
    for (long long offset = 0; offset < entry.fillerBytes; offset += chunk) {
        const long long left = entry.fillerBytes - offset;
        const size_t count = left < static_cast<long long>(chunk) ? static_cast<size_t>(left) : chunk;
        const int result = hand(filler.data() + offset % 26, count);
        if (result != 0) return result;
    }
    return 0;
}

// ---------------------------------------------------------------- volumes

// 0 when the current volume's headers can be read with the password in force.
int UnlockHeaders(Archive& archive)
{
    if (!archive.volume.headersEncrypted || archive.headersUnlocked) return 0;
    if (archive.password.empty()) return kMissingPassword;
    if (archive.password != archive.volume.headerPassword) return kBadPassword;
    archive.headersUnlocked = true;
    return 0;
}

void TakeVolume(Archive& archive, Volume& volume)
{
    archive.headerResults.insert(archive.headerResults.end(), volume.headerResults.begin(),
                                 volume.headerResults.end());
    archive.processResults.insert(archive.processResults.end(), volume.processResults.begin(),
                                  volume.processResults.end());
    archive.volume = volume;
    archive.next = 0;
    archive.headersUnlocked = false;
}

// Moves on to the next volume. 0 when it is open, else the result for the
// call that needed it; the current volume then stays.
int ChangeVolume(Archive& archive, bool readingData)
{
    const std::string& current = archive.volume.path;
    std::string next = NextVolumeName(current, !archive.volume.newFormat);
    if (!IsExistingFile(next)) {
        // Volumes renamed to the older naming are found too.
        const std::string older = NextVolumeName(current, true);
        if (IsExistingFile(older)) next = older;
    }
    for (int asks = 0; !IsExistingFile(next); ++asks) {
        if (!archive.changeVolumeProc) return kOpenError;
        if (asks == kMostAsks) {
            LogLine("fault\tchange-volume callback went on answering non-zero for a volume that stays missing");
            return kFaultResult;
        }
        int answer = 0;
        if (AskChangeVolume(archive, kAsk, next, answer) != 0) return kFaultResult;
        if (answer == 0) return kOpenError;
    }
    Volume volume;
    const int read = ReadVolume(next, volume);
    if (read == kBadArchive) return kReadError;  // the library fails on a volume that is no archive
    if (read != 0) return read;
    if (archive.changeVolumeProc) {
        // The library ignores a name changed in a notification.
        std::string told = next;
        int answer = 0;
        if (AskChangeVolume(archive, kNotify, told, answer) != 0) return kFaultResult;
        // While extracting, the refusal only cuts the entry short, and its CRC fails.
        if (answer == 0) return readingData ? kBadData : kOpenError;
    }
    TakeVolume(archive, volume);
    const int locked = UnlockHeaders(archive);
    if (locked != 0) archive.spent = locked;
    return locked;
}

// ---------------------------------------------------------------- entries

int ReadHeader(Archive& archive)
{
    archive.headerPending = false;
    if (archive.spent != 0) return archive.spent;
    const int locked = UnlockHeaders(archive);
    if (locked != 0) return archive.spent = locked;
    for (const Scripted& scripted : archive.headerResults) {
        if (scripted.at == archive.entriesRead) return archive.spent = scripted.result;
    }
    for (;;) {
        if (archive.next >= archive.volume.entries.size()) {
            if (!archive.volume.nextVolume) return kEndArchive;
            const int changed = ChangeVolume(archive, false);
            if (changed != 0) return changed;
            continue;
        }
        const Entry& entry = archive.volume.entries[archive.next++];
        if (entry.rest && archive.mode == kList) {
            // Listing passes over the rest of an entry begun earlier, moving on
            // when it goes on further.
            if (entry.continues) {
                const int changed = ChangeVolume(archive, false);
                if (changed != 0) return changed;
            }
            continue;
        }
        archive.current = entry;
        archive.headerPending = true;
        ++archive.entriesRead;
        return kSuccess;
    }
}

std::string DestinationPath(const char* folder, const char* name, const std::string& entryName)
{
    if (name) return name;
    std::vector<size_t> separators;
    const std::string native = NativeName(entryName, separators);
    const std::string base = folder ? folder : "";
    if (base.empty()) return native;
    const bool endsWithSeparator = AfterLastSeparator(base) == base.size() && IsSeparator(base.back());
    return endsWithSeparator ? base + native : base + "\\" + native;
}

// Writes the entry at PATH, making the folders on the way as the real library
// does. 0, kCreateError or kWriteError.
int WriteEntry(const std::string& path, const Entry& entry)
{
    std::vector<size_t> separators;
    const std::string native = NativeName(path, separators);
    for (size_t separator : separators) {
        // A drive's root ("C:\") and the empty text before a leading separator are no folders to make.
        if (separator > 0 && native[separator - 1] != ':') CreateDirectoryA(native.substr(0, separator).c_str(), nullptr);
    }
    if (!separators.empty() && separators.back() == native.size() - 1) {
        const DWORD attributes = GetFileAttributesA(native.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : kCreateError;
    }
    HANDLE file = CreateFileA(native.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kCreateError;
    bool ok;
    if (entry.fillerBytes < 0) {
        DWORD written = 0;
        ok = WriteFile(file, entry.content.data(), static_cast<DWORD>(entry.content.size()), &written, nullptr) &&
             written == entry.content.size();
    } else {
        ok = WriteFiller(file, entry.fillerBytes);
    }
    CloseHandle(file);
    return ok ? 0 : kWriteError;
}

int ProcessFile(Archive& archive, int operation, const char* folder, const char* name)
{
    if (!archive.headerPending) {
        LogLine("fault\tRARProcessFile without a header read before it");
        return kFaultResult;
    }
    archive.headerPending = false;
    const Entry entry = archive.current;
    for (const Scripted& scripted : archive.processResults) {
        if (scripted.at == archive.entriesRead) return scripted.result;
    }
    if (archive.mode == kList || archive.mode == kListIncludingSplit || operation == kSkip) {
        // Skipping reads no data; an entry that goes on moves to the next volume at once.
        return entry.continues ? ChangeVolume(archive, false) : kSuccess;
    }
    const bool first = !archive.processedData;
    archive.processedData = true;
    if (entry.rest) return first ? kBadData : kSuccess;  // its start lies in an earlier volume
    if (!entry.password.empty()) {
        if (archive.password.empty()) return kMissingPassword;
        if (archive.password != entry.password) {
            if (!archive.volume.newFormat) return kBadData;
            archive.password.clear();
            return kBadPassword;
        }
    }
    // The entry's data runs through every volume it goes on into.
    for (bool more = entry.continues; more;) {
        const int changed = ChangeVolume(archive, true);
        if (changed != 0) return changed;
        more = false;
        if (!archive.volume.entries.empty() && archive.volume.entries[0].rest) {
            more = archive.volume.entries[0].continues;
            archive.next = 1;
        }
    }
    const int handed = HandOverData(archive, entry);
    if (handed != 0) return handed;
    if (operation != kExtractEntry) return kSuccess;  // testing writes nothing
    const int written = WriteEntry(DestinationPath(folder, name, entry.name), entry);
    if (written == 0) LogLine("wrote\tname=" + Readable(entry.name));
    return written;
}

// ---------------------------------------------------------------- header record

// A folder entry's name ends with a separator in the script; the library
// reports the name without it and with every separator a backslash.
std::string ReportedName(const Entry& entry, bool& folder)
{
    std::vector<size_t> separators;
    std::string native = NativeName(entry.name, separators);
    folder = !separators.empty() && separators.back() == native.size() - 1;
    if (folder) native.pop_back();
    return native;
}

unsigned Crc32(const std::string& bytes)
{
    unsigned crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void CopyField(char* field, const std::string& text)
{
    lstrcpynA(field, text.c_str(), 260);
}

void FillHeader(RARHeaderData& header, const Archive& archive, const Entry& entry)
{
    bool folder = false;
    CopyField(header.ArcName, archive.volume.path);
    CopyField(header.FileName, ReportedName(entry, folder));
    header.Flags = (entry.rest ? kSplitBefore : 0) | (entry.continues ? kSplitAfter : 0) |
                   (entry.password.empty() ? 0 : kEncrypted) | (folder ? kDirectory : 0);
    const long long size = entry.fillerBytes < 0 ? static_cast<long long>(entry.content.size()) : entry.fillerBytes;
    header.PackSize = static_cast<unsigned>(size);
    header.UnpSize = static_cast<unsigned>(size);
    header.HostOS = 2;  // Win32
    header.FileCRC = entry.fillerBytes < 0 ? Crc32(entry.content) : 0;
    header.FileTime = (44u << 25) | (1u << 21) | (1u << 16);  // 2024-01-01 00:00 in DOS form
    header.UnpVer = archive.volume.newFormat ? 50 : 29;
    header.Method = 0x30;  // stored
    header.FileAttr = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
}

// ---------------------------------------------------------------- handles

Archive* Find(HANDLE handle, const char* entryPoint)
{
    for (Archive* archive : g_archives) {
        if (archive == handle) return archive;
    }
    LogLine(std::string("fault\t") + entryPoint + " called with a handle that is not open");
    return nullptr;
}

void DeliverComment(RAROpenArchiveData& record, const Volume& volume)
{
    record.CmtSize = 0;
    record.CmtState = 0;
    if (!volume.hasComment || record.CmtBufSize == 0 || !record.CmtBuf) return;
    const size_t size = volume.comment.size() + 1;
    record.CmtState = size > record.CmtBufSize ? static_cast<unsigned>(kSmallBuffer) : 1;
    record.CmtSize = static_cast<unsigned>(size < record.CmtBufSize ? size : record.CmtBufSize);
    std::memcpy(record.CmtBuf, volume.comment.data(), record.CmtSize - 1);
    record.CmtBuf[record.CmtSize - 1] = 0;
}

}  // namespace

// Which variant this library is, for the tests.
STANDIN_EXPORT const char* WINAPI StandinVariant()
{
#if defined(STANDIN_UNRAR_NO_PASSWORD)
    return "unrar (no RARSetPassword)";
#else
    return "unrar";
#endif
}

STANDIN_EXPORT HANDLE WINAPI RAROpenArchive(RAROpenArchiveData* record)
{
    if (!record) {
        LogLine("RAROpenArchive\trecord=null");
        LogLine("fault\tRAROpenArchive needs its open record");
        return nullptr;
    }
    const std::string path = record->ArcName ? record->ArcName : "";
    Volume volume;
    int result = ReadVolume(path, volume);
    if (result == 0) result = volume.openResult;
    if (result == 0) DeliverComment(*record, volume);
    else record->CmtSize = record->CmtState = 0;
    record->OpenResult = static_cast<unsigned>(result);
    LogLine("RAROpenArchive\tarc=" + Readable(record->ArcName) + "\tmode=" + Number(record->OpenMode) +
            "\tcmtbuf=" + (record->CmtBuf ? "set" : "0") + "\tcmtsize=" + Number(record->CmtBufSize) +
            "\topen=" + Number(result));
    if (result != 0) return nullptr;
    Archive* archive = new Archive;
    archive->mode = static_cast<int>(record->OpenMode);
    TakeVolume(*archive, volume);
    g_archives.push_back(archive);
    return archive;
}

STANDIN_EXPORT int WINAPI RARCloseArchive(HANDLE handle)
{
    LogLine("RARCloseArchive");
    Archive* archive = Find(handle, "RARCloseArchive");
    if (!archive) return kFaultResult;
    for (size_t i = 0; i < g_archives.size(); ++i) {
        if (g_archives[i] == archive) g_archives.erase(g_archives.begin() + i);
    }
    delete archive;
    return kSuccess;
}

STANDIN_EXPORT int WINAPI RARReadHeader(HANDLE handle, RARHeaderData* header)
{
    Archive* archive = Find(handle, "RARReadHeader");
    int result = kFaultResult;
    if (!header) {
        LogLine("fault\tRARReadHeader needs its header record");
    } else if (archive) {
        result = ReadHeader(*archive);
        // Like the library, every call rewrites the record, emptied when nothing was read.
        char* const commentBuffer = header->CmtBuf;
        const unsigned commentBufferSize = header->CmtBufSize;
        std::memset(header, 0, sizeof *header);
        header->CmtBuf = commentBuffer;
        header->CmtBufSize = commentBufferSize;
        if (result == kSuccess) FillHeader(*header, *archive, archive->current);
    }
    const bool read = result == kSuccess;
    LogLine("RARReadHeader\tresult=" + Number(result) + "\tname=" + Readable(read ? header->FileName : nullptr) +
            "\tflags=" + Number(read ? header->Flags : 0));
    return result;
}

STANDIN_EXPORT int WINAPI RARProcessFile(HANDLE handle, int operation, char* destPath, char* destName)
{
    Archive* archive = Find(handle, "RARProcessFile");
    const int result = archive ? ProcessFile(*archive, operation, destPath, destName) : kFaultResult;
    LogLine("RARProcessFile\top=" + Number(operation) + "\tdest=" + (destPath ? Readable(destPath) : "null") +
            "\tname=" + (destName ? Readable(destName) : "null") + "\tresult=" + Number(result));
    return result;
}

STANDIN_EXPORT void WINAPI RARSetChangeVolProc(HANDLE handle, int(CALLBACK* changeVolumeProc)(char*, int))
{
    LogLine("RARSetChangeVolProc");
    Archive* archive = Find(handle, "RARSetChangeVolProc");
    if (archive) archive->changeVolumeProc = reinterpret_cast<const void*>(changeVolumeProc);
}

STANDIN_EXPORT void WINAPI RARSetProcessDataProc(HANDLE handle, int(CALLBACK* processDataProc)(unsigned char*, int))
{
    LogLine("RARSetProcessDataProc");
    Archive* archive = Find(handle, "RARSetProcessDataProc");
    if (archive) archive->processDataProc = reinterpret_cast<const void*>(processDataProc);
}

#if !defined(STANDIN_UNRAR_NO_PASSWORD)
STANDIN_EXPORT void WINAPI RARSetPassword(HANDLE handle, char* password)
{
    LogLine("RARSetPassword\tpassword=" + Readable(password));
    Archive* archive = Find(handle, "RARSetPassword");
    if (archive) archive->password = password ? password : "";
}
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_standinModule = module;
        DisableThreadLibraryCalls(module);
        LogLine("load");
    }
    return TRUE;
}
