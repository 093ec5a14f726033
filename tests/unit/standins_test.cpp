// The stand-in archiver libraries that the program's tests run against. If they
// called back with the wrong convention, wrote the wrong files or logged the
// wrong arguments, every test built on them would prove nothing.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/paths.h"
#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

namespace {

typedef int(WINAPI* CommandLineEntry)(HWND, LPCSTR, LPSTR, DWORD);
typedef int(WINAPI* WindllUnzip)(int, char**, int, char**, void*, void*);

const std::string kLzhSignature("\0\0-lh5-\n", 8);
const std::string kZipSignature("PK\x03\x04\n");

// The stand-ins are built in "standins" beside the folder of the test executables.
std::string StandinPath(const char* relative)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    CutToFolder(path);
    DropTrailingBackslash(path);
    CutToFolder(path);
    return std::string(path) + "standins\\" + relative;
}

// A stand-in copied into a test's own folder, so that the call log there is the test's alone.
struct Library {
    HMODULE module = nullptr;
    Library(const TempFolder& folder, const char* relative)
    {
        const std::string copy = folder / LastPathComponent(relative);
        if (CopyFileA(StandinPath(relative).c_str(), copy.c_str(), FALSE)) module = LoadLibraryA(copy.c_str());
    }
    ~Library()
    {
        if (module) FreeLibrary(module);
    }
    template <typename T> T Entry(const char* name) const
    {
        return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }
};

std::vector<std::string> ReadLog(const TempFolder& folder)
{
    std::vector<std::string> lines;
    const std::string log = ReadFileBytes(folder / "standin-calls.log");
    size_t start = 0;
    for (size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(log.substr(start, end - start));
    }
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& prefix)
{
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

// ---- callbacks of the windll_unzip form, recording what they were given

struct Answer {
    int result;
    const char* text;
};

struct Recorded {
    std::vector<std::string> prints;
    std::vector<std::string> replaced;
    std::vector<unsigned long> messageArguments;
    struct Prompt {
        int size;
        std::string prompt, name;
    };
    std::vector<Prompt> prompts;
    std::vector<Answer> answers;  // given in order; the last one repeats
} g_recorded;

int WINAPI PrintCallback(LPSTR text, unsigned long count)
{
    g_recorded.prints.emplace_back(text, count);
    return static_cast<int>(count);
}

int __cdecl PrintCallbackOfTheWrongConvention(LPSTR, unsigned long count) { return static_cast<int>(count); }

int WINAPI ReplaceCallback(LPSTR name)
{
    g_recorded.replaced.emplace_back(name);
    return 1;
}

int WINAPI PasswordCallback(LPSTR buffer, int size, LPCSTR prompt, LPCSTR name)
{
    g_recorded.prompts.push_back({size, prompt, name});
    const size_t index = g_recorded.prompts.size() - 1;
    const Answer answer = g_recorded.answers[index < g_recorded.answers.size() ? index : g_recorded.answers.size() - 1];
    lstrcpynA(buffer, answer.text, size);
    return answer.result;
}

int WINAPI PasswordCallbackWritingTooFar(LPSTR buffer, int size, LPCSTR, LPCSTR)
{
    std::memset(buffer, 'p', size + 1);
    return 0;
}

void WINAPI MessageCallback(unsigned long a1, unsigned long a2, unsigned long a3, unsigned long a4, unsigned long a5,
                            unsigned long a6, unsigned long a7, unsigned long a8, unsigned long a9, unsigned long a10,
                            unsigned long a11, unsigned long a12, unsigned long a13)
{
    g_recorded.messageArguments = {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13};
}

int g_ticks;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

std::uint32_t Word(const void* pointer) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer)); }

struct WindllRecords {
    std::uint32_t options[17] = {};
    std::uint32_t callbacks[10] = {};
    WindllRecords(const std::string& archive, const std::string& destination)
    {
        options[9] = 1;  // offsets 36 and 40
        options[10] = 1;
        options[15] = Word(archive.c_str());
        options[16] = Word(destination.c_str());
        callbacks[0] = Word(reinterpret_cast<const void*>(&PrintCallback));
        callbacks[2] = Word(reinterpret_cast<const void*>(&ReplaceCallback));
        callbacks[3] = Word(reinterpret_cast<const void*>(&PasswordCallback));
        callbacks[4] = Word(reinterpret_cast<const void*>(&MessageCallback));
    }
};

}  // namespace

TEST(Standins, UnlhaWritesTheScriptedEntriesAndLogsTheCall)
{
    TempFolder temp;
    Library library(temp, "unlha32.dll");
    const auto unlha = library.Entry<CommandLineEntry>("Unlha");
    ASSERT_NE(nullptr, unlha);
    const std::string archive = temp / "an archive.lzh";
    const std::string destination = temp / "out \x95\x5C";  // a blank, and a trail byte 0x5C at the end
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(archive, kLzhSignature +
                                            "# a comment, and a blank line\r\n"
                                            "\r\n"
                                            "entry sub/\x95\x5Cn.txt two\\r\\nlines\\sand\\x01\\\\\r\n"
                                            "password pw\n"
                                            "entry secret.txt hidden\n"
                                            "password -\n"
                                            "big big.bin 70000\n"
                                            "entry empty.txt\n"
                                            "print out\\x95\\x5C\\n\n"));
    const std::string command = "x -u -gm1 " + archive + " " + destination + "\\";
    std::vector<char> output(16384, 0);

    EXPECT_EQ(82, unlha(GetDesktopWindow(), command.c_str(), output.data(), 16384)) << "an entry was skipped";

    EXPECT_EQ("two\r\nlines and\x01\\", ReadFileBytes(destination + "\\sub\\\x95\x5Cn.txt"));
    EXPECT_EQ("<missing>", ReadFileBytes(destination + "\\secret.txt")) << "no password prompt in this form";
    const std::string big = ReadFileBytes(destination + "\\big.bin");
    ASSERT_EQ(70000u, big.size());
    for (size_t i : {size_t(0), size_t(65535), size_t(65536), size_t(69999)}) {
        EXPECT_EQ(static_cast<char>('a' + i % 26), big[i]) << i;
    }
    EXPECT_EQ("", ReadFileBytes(destination + "\\empty.txt"));
    EXPECT_STREQ("out\x95\x5C\n", output.data());
    const std::vector<std::string> expected = {
        "load",
        "Unlha\thwnd=set\tcmd=" + command + "\tsize=16384",
        "wrote\tname=sub/\x95\x5Cn.txt",
        "skipped\tname=secret.txt",
        "wrote\tname=big.bin",
        "wrote\tname=empty.txt",
        "result\t82",
    };
    EXPECT_EQ(expected, ReadLog(temp));
}

TEST(Standins, CommandLineFormsAnswerLikeTheirLibraries)
{
    TempFolder temp;
    Library lha(temp, "unlha32.dll");
    const auto unlha = lha.Entry<CommandLineEntry>("Unlha");
    ASSERT_NE(nullptr, unlha);
    ASSERT_TRUE(WriteFileBytes(temp / "plain.lzh", kLzhSignature + "entry a.txt a\n"));
    ASSERT_TRUE(WriteFileBytes(temp / "says -5.lzh", kLzhSignature + "result -5\nentry a.txt a\n"));
    ASSERT_TRUE(WriteFileBytes(temp / "says 0x8020.lzh", kLzhSignature + "result 0x8020\n"));
    ASSERT_TRUE(WriteFileBytes(temp / "typo.lzh", kLzhSignature + "entyr a.txt a\n"));
    ASSERT_TRUE(WriteFileBytes(temp / "a.zip", kZipSignature + "entry a.txt a\n"));
    ASSERT_TRUE(CreateDirectoryA((temp / "\x95\x5C").c_str(), nullptr));
    struct Case {
        std::string command;
        int expected;
    };
    const Case cases[] = {
        {"x -u -gm1 " + temp / "plain.lzh " + temp.path() + "\\", 0},
        {"x -u -gm1 " + temp / "says -5.lzh " + temp.path() + "\\", -5},
        {"x -u -gm1 " + temp / "says 0x8020.lzh " + temp.path() + "\\", 0x8020},
        {"x -u -gm1 " + temp / "typo.lzh " + temp.path() + "\\", -99},     // a mistyped script does nothing
        {"x -u -gm1 " + temp / "plain.lzh " + temp.path(), 0x801C},        // no final backslash
        {"x -u -gm1 " + temp / "plain.lzh " + temp / "\x95\x5C", 0x801C},  // only a trail byte 0x5C
        {"e " + temp / "plain.lzh " + temp.path() + "\\", 0x801C},
        {"x -u -gm1 " + temp / "missing.lzh " + temp.path() + "\\", 0x8018},
        {"x -u -gm1 " + temp / "a.zip " + temp.path() + "\\", 0x801B},     // not an LZH archive
    };
    char output[64];
    for (const Case& c : cases) EXPECT_EQ(c.expected, unlha(nullptr, c.command.c_str(), output, sizeof output)) << c.command;
    EXPECT_EQ("<missing>", ReadFileBytes(temp / "\x95\x5C\\a.txt"));
    EXPECT_TRUE(Contains(ReadLog(temp), "fault\tscript line 2 cannot be read: entyr a.txt a"));
}

TEST(Standins, UnZipFillsTheOutputBufferToTheBrimWithoutATerminator)
{
    TempFolder temp;
    Library library(temp, "unzip-only\\unzip32.dll");
    EXPECT_EQ(nullptr, library.Entry<void*>("windll_unzip"));
    const auto unzip = library.Entry<CommandLineEntry>("UnZip");
    ASSERT_NE(nullptr, unzip);
    const std::string destination = temp / "out";
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(temp / "long.zip", kZipSignature + "entry a.txt A\nprintfill 20000\n"));
    ASSERT_TRUE(WriteFileBytes(temp / "short.zip", kZipSignature + "noreport\nentry b.txt B\nprint abc\n"));
    const std::string reportLine = "  inflating: " + destination + "/a.txt  \n";
    const char guard = '\x7F';

    std::vector<char> output(16384 + 8, guard);
    const std::string command = "-x -u " + temp / "long.zip " + destination + "\\";
    EXPECT_EQ(0, unzip(nullptr, command.c_str(), output.data(), 16384));
    EXPECT_EQ(reportLine, std::string(output.data(), reportLine.size()));
    EXPECT_EQ(nullptr, std::memchr(output.data(), 0, 16384)) << "all 16384 bytes are text";
    EXPECT_EQ(std::string(8, guard), std::string(output.data() + 16384, 8)) << "nothing past the size";
    EXPECT_EQ("A", ReadFileBytes(destination + "\\a.txt"));

    // Text that fits exactly is not terminated; one byte more of room gets the zero.
    struct Case {
        DWORD size;
        std::string expected;
    };
    const Case cases[] = {{2, "ab\x7F"}, {3, "abc\x7F"}, {4, std::string("abc\0\x7F", 5)}};
    for (const Case& c : cases) {
        std::vector<char> small(16, guard);
        EXPECT_EQ(0, unzip(nullptr, ("-x -u " + temp / "short.zip " + destination + "\\").c_str(), small.data(), c.size));
        EXPECT_EQ(c.expected, std::string(small.data(), c.expected.size())) << c.size;
    }
}

TEST(Standins, WindllUnzipCallsBackThroughTheStandardConvention)
{
    TempFolder temp;
    Library library(temp, "unzip32.dll");
    EXPECT_NE(nullptr, library.Entry<void*>("UnZip"));
    const auto windll = library.Entry<WindllUnzip>("windll_unzip");
    ASSERT_NE(nullptr, windll);
    const std::string archive = temp / "an archive.zip";
    const std::string destination = temp / "out";
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(archive, kZipSignature +
                                            "print Archive:\\s\\s\n"
                                            "print an archive.zip\\n\n"
                                            "message\n"
                                            "replace\n"
                                            "entry dir/a.txt alpha\n"
                                            "noreport\n"
                                            "entry b.txt beta\n"));
    g_recorded = Recorded();
    WindllRecords records(archive, destination);

    EXPECT_EQ(0, windll(0, nullptr, 0, nullptr, records.options, records.callbacks));

    // The report begins before the entry is written and ends after it.
    const std::string report = "  inflating: " + destination + "/dir/a.txt  ";
    EXPECT_EQ((std::vector<std::string>{"Archive:  ", "an archive.zip\n", report, "\n"}), g_recorded.prints);
    EXPECT_EQ((std::vector<unsigned long>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}), g_recorded.messageArguments);
    EXPECT_EQ(std::vector<std::string>{destination + "\\dir\\a.txt"}, g_recorded.replaced);
    EXPECT_EQ("alpha", ReadFileBytes(destination + "\\dir\\a.txt"));
    EXPECT_EQ("beta", ReadFileBytes(destination + "\\b.txt"));
    const std::vector<std::string> expected = {
        "load",
        "windll_unzip\targs=0,0,0,0\tflags=0,0,0,0,0,0,0,0,0,1,1,0,0,0,0\tarchive=" + archive +
            "\tdestination=" + destination + "\tcallbacks=set,0,set,set,set,0,0,0,0,0",
        "print\tcount=10\treturned=10",
        "print\tcount=15\treturned=15",
        "message",
        "replace\treturned=1",
        "print\tcount=" + std::to_string(report.size()) + "\treturned=" + std::to_string(report.size()),
        "print\tcount=1\treturned=1",
        "wrote\tname=dir/a.txt",
        "wrote\tname=b.txt",
        "result\t0",
    };
    EXPECT_EQ(expected, ReadLog(temp));
}

TEST(Standins, WindllUnzipAsksForPasswords)
{
    const std::string script = "password pw\nentry one.txt 1\nentry two.txt 2\npassword -\nentry three.txt 3\n";
    struct Case {
        const char* name;
        std::string scriptPrefix;
        std::vector<Answer> answers;
        int expectedResult;
        size_t expectedPrompts;
        const char* expectedFiles;  // which of one, two, three were written
        int expectedSize;
    };
    const Case cases[] = {
        {"right at once, then held", "", {{0, "pw"}}, 0, 1, "123", 80},
        {"wrong, then right", "", {{0, "no"}, {0, "pw"}}, 0, 2, "123", 80},
        {"wrong twice for each", "", {{0, "no"}}, 82, 4, "3", 80},
        {"cancelled", "", {{-2, ""}}, 80, 1, "", 80},
        {"not asked", "", {{5, ""}}, 82, 2, "3", 80},
        {"a smaller buffer", "pwsize 3\n", {{0, "pw"}}, 0, 1, "123", 3},
        {"too small for the password", "pwsize 2\n", {{0, "pw"}}, 82, 4, "3", 2},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        Library library(temp, "unzip32.dll");
        const auto windll = library.Entry<WindllUnzip>("windll_unzip");
        ASSERT_NE(nullptr, windll);
        const std::string archive = temp / "locked.zip";
        ASSERT_TRUE(WriteFileBytes(archive, kZipSignature + c.scriptPrefix + script));
        g_recorded = Recorded();
        g_recorded.answers = c.answers;
        WindllRecords records(archive, temp.path());

        EXPECT_EQ(c.expectedResult, windll(0, nullptr, 0, nullptr, records.options, records.callbacks)) << c.name;

        ASSERT_EQ(c.expectedPrompts, g_recorded.prompts.size()) << c.name;
        EXPECT_EQ(c.expectedSize, g_recorded.prompts[0].size) << c.name;
        EXPECT_EQ("Enter password for: ", g_recorded.prompts[0].prompt) << c.name;
        EXPECT_EQ("one.txt", g_recorded.prompts[0].name) << c.name;
        std::string written;
        for (const char* name : {"one", "two", "three"}) {
            const std::string content = ReadFileBytes(temp / (std::string(name) + ".txt"));
            if (content != "<missing>") written += content;
        }
        EXPECT_EQ(c.expectedFiles, written) << c.name;
        const Answer first = c.answers[0];
        EXPECT_TRUE(Contains(ReadLog(temp), "password\tsize=" + std::to_string(c.expectedSize) +
                                                "\tprompt=Enter password for: \tname=one.txt\treturned=" +
                                                std::to_string(first.result) + "\ttext="))
            << c.name;
    }
}

TEST(Standins, CallbacksThatBreakTheContractAreCaught)
{
    struct Case {
        const char* name;
        int slot;
        const void* callback;
        const char* fault;
    };
    const Case cases[] = {
        {"print callback without the standard convention", 0,
         reinterpret_cast<const void*>(&PrintCallbackOfTheWrongConvention), "fault\tprint callback left the stack pointer -8 bytes off"},
        {"password written past its buffer", 3, reinterpret_cast<const void*>(&PasswordCallbackWritingTooFar),
         "fault\tpassword callback wrote past the end of its 80-byte buffer"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        Library library(temp, "unzip32.dll");
        const auto windll = library.Entry<WindllUnzip>("windll_unzip");
        ASSERT_NE(nullptr, windll);
        const std::string archive = temp / "a.zip";
        ASSERT_TRUE(WriteFileBytes(archive, kZipSignature + "print x\npassword pw\nentry a.txt a\nentry b.txt b\n"));
        g_recorded = Recorded();
        WindllRecords records(archive, temp.path());
        records.callbacks[c.slot] = Word(c.callback);

        EXPECT_EQ(-99, windll(0, nullptr, 0, nullptr, records.options, records.callbacks)) << c.name;

        const std::vector<std::string> log = ReadLog(temp);
        EXPECT_TRUE(Contains(log, c.fault)) << c.name;
        EXPECT_FALSE(Contains(log, "wrote")) << c.name << ": the call stops at the fault";
    }
}

TEST(Standins, DelayDispatchesTheCallersMessages)
{
    // A Cancel button pressed during a long extraction only works if someone
    // dispatches its click meanwhile: the delayed stand-in does, as a real library would.
    TempFolder temp;
    Library library(temp, "unlha32.dll");
    const auto unlha = library.Entry<CommandLineEntry>("Unlha");
    ASSERT_NE(nullptr, unlha);
    ASSERT_TRUE(WriteFileBytes(temp / "slow.lzh", kLzhSignature + "delay 300\nentry a.txt a\n"));
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CountTick);
    char output[16];
    EXPECT_EQ(0, unlha(nullptr, ("x -u -gm1 " + temp / "slow.lzh " + temp.path() + "\\").c_str(), output, sizeof output));
    KillTimer(nullptr, timer);
    EXPECT_GT(g_ticks, 0);
    EXPECT_EQ("a", ReadFileBytes(temp / "a.txt"));
}

TEST(Standins, LibrariesExportUndecoratedNamesOrNone)
{
    struct Case {
        const char* library;
        bool unlha, unzip, windll;
    };
    const Case cases[] = {
        {"unlha32.dll", true, false, false},
        {"unzip32.dll", false, true, true},
        {"unzip-only\\unzip32.dll", false, true, false},
        {"no-entry\\unlha32.dll", false, false, false},
        {"no-entry\\unzip32.dll", false, false, false},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        Library library(temp, c.library);
        ASSERT_NE(nullptr, library.module) << c.library;
        EXPECT_EQ(c.unlha, library.Entry<void*>("Unlha") != nullptr) << c.library;
        EXPECT_EQ(c.unzip, library.Entry<void*>("UnZip") != nullptr) << c.library;
        EXPECT_EQ(c.windll, library.Entry<void*>("windll_unzip") != nullptr) << c.library;
        EXPECT_EQ(nullptr, library.Entry<void*>("Unlha@16")) << c.library;
        EXPECT_EQ(nullptr, library.Entry<void*>("windll_unzip@24")) << c.library;
        EXPECT_EQ(std::vector<std::string>{"load"}, ReadLog(temp)) << c.library;
    }
}

// ---- the RAR library stand-in: records, entry points and a walk through an archive

namespace {

struct RarOpenRecord {
    const char* arcName;
    unsigned openMode, openResult;
    char* cmtBuf;
    unsigned cmtBufSize, cmtSize, cmtState;
};

struct RarHeaderRecord {
    char arcName[260];
    char fileName[260];
    unsigned flags, packSize, unpSize, hostOS, fileCRC, fileTime, unpVer, method, fileAttr;
    char* cmtBuf;
    unsigned cmtBufSize, cmtSize, cmtState;
};

static_assert(sizeof(RarOpenRecord) == 28 && sizeof(RarHeaderRecord) == 572, "the 32-bit interface's records");

typedef int(CALLBACK* ChangeVolumeProc)(char*, int);
typedef int(CALLBACK* ProcessDataProc)(unsigned char*, int);

const std::string kRar4("Rar!\x1A\x07\x00\n", 8);
const std::string kRar5("Rar!\x1A\x07\x01\x00\n", 9);

struct Rar {
    Library library;
    HANDLE(WINAPI* open)(RarOpenRecord*);
    int(WINAPI* close)(HANDLE);
    int(WINAPI* read)(HANDLE, RarHeaderRecord*);
    int(WINAPI* process)(HANDLE, int, char*, char*);
    void(WINAPI* setChangeVolume)(HANDLE, ChangeVolumeProc);
    void(WINAPI* setProcessData)(HANDLE, ProcessDataProc);
    void(WINAPI* setPassword)(HANDLE, char*);
    explicit Rar(const TempFolder& folder)
        : library(folder, "unrar.dll"),
          open(library.Entry<decltype(open)>("RAROpenArchive")),
          close(library.Entry<decltype(close)>("RARCloseArchive")),
          read(library.Entry<decltype(read)>("RARReadHeader")),
          process(library.Entry<decltype(process)>("RARProcessFile")),
          setChangeVolume(library.Entry<decltype(setChangeVolume)>("RARSetChangeVolProc")),
          setProcessData(library.Entry<decltype(setProcessData)>("RARSetProcessDataProc")),
          setPassword(library.Entry<decltype(setPassword)>("RARSetPassword"))
    {
    }
    bool Complete() const { return open && close && read && process && setChangeVolume && setProcessData && setPassword; }
};

// What a walk through an archive met, in order: entries (with their flags in
// brackets), change-volume calls ("tell:" mode 1, "ask:" mode 0, with the file
// name asked for), a failed process call ("=N" after the entry) and the header
// read that ended the walk ("readN").
std::string g_events;
int g_askAnswer;          // the answer to mode 0
std::string g_askRename;  // when set, mode 0 answers 1 with this path in the buffer, once

int CALLBACK RecordVolumeChange(char* name, int mode)
{
    g_events += std::string(mode ? " tell:" : " ask:") + LastPathComponent(name);
    if (mode == 0 && !g_askRename.empty()) {
        lstrcpynA(name, g_askRename.c_str(), 2048);
        g_askRename.clear();
        return 1;
    }
    return mode ? 1 : g_askAnswer;
}

int __cdecl ChangeVolumeOfTheWrongConvention(char*, int) { return 1; }

int g_dataBytes;
int CALLBACK StopOnData(unsigned char*, int count)
{
    g_dataBytes += count;
    return 0;
}

// Opens, reads every header and processes every entry until something fails,
// as the program's extraction (mode 1, operation 2) and check pass (0, 0) do.
std::string Walk(const Rar& rar, const std::string& archive, unsigned mode, int operation,
                 const std::string& destination = std::string(), const char* password = nullptr)
{
    g_events.clear();
    std::vector<char> comment(16384);
    RarOpenRecord record = {archive.c_str(), mode, 12345, comment.data(), 16384, 0, 0};
    HANDLE handle = rar.open(&record);
    if (!handle) return "open=" + std::to_string(static_cast<int>(record.openResult));
    rar.setChangeVolume(handle, &RecordVolumeChange);
    if (password) rar.setPassword(handle, const_cast<char*>(password));
    RarHeaderRecord header = {};
    for (;;) {
        const int read = rar.read(handle, &header);
        if (read != 0) {
            g_events += " read" + std::to_string(read);
            break;
        }
        g_events += std::string(" ") + header.fileName;
        if (header.flags) g_events += "[" + std::to_string(header.flags) + "]";
        char* folder = operation == 2 ? const_cast<char*>(destination.c_str()) : nullptr;
        const int processed = rar.process(handle, operation, folder, nullptr);
        if (processed != 0) {
            g_events += "=" + std::to_string(processed);
            break;
        }
    }
    rar.close(handle);
    return g_events.substr(1);
}

}  // namespace

TEST(Standins, UnrarReadsAVolumeSetThroughTheChangeVolumeCallback)
{
    // An entry spanning all three volumes of an older-format set, an entry
    // before it and one after it.
    const std::string first = kRar4 + "entry a.txt alpha\nbig b.bin 70000\ncontinues\n";
    const std::string second = kRar4 + "volume 1 b.bin\ncontinues\n";
    const std::string third = kRar4 + "volume 2 b.bin\nentry c/d.txt delta\n";
    struct Case {
        const char* name;
        const char* open;        // the volume opened
        bool third;              // set.r01 is there
        unsigned mode;
        int operation;
        const char* rename;      // the path mode 0 answers with, under the test folder
        std::string expected;
    };
    const Case cases[] = {
        {"extraction", "set.rar", true, 1, 2, "", "a.txt b.bin[2] tell:set.r00 tell:set.r01 c\\d.txt read10"},
        {"check pass", "set.rar", true, 0, 0, "", "a.txt b.bin[2] tell:set.r00 tell:set.r01 c\\d.txt read10"},
        {"extraction, last volume missing", "set.rar", false, 1, 2, "", "a.txt b.bin[2] tell:set.r00 ask:set.r01=15"},
        // Listing passes over the rest of b.bin in the header read, so there the
        // missing volume fails the read, not the process call.
        {"check pass, last volume missing", "set.rar", false, 0, 0, "", "a.txt b.bin[2] tell:set.r00 ask:set.r01 read15"},
        {"the missing volume found elsewhere", "set.rar", false, 1, 2, "moved\\other.r01",
         "a.txt b.bin[2] tell:set.r00 ask:set.r01 tell:other.r01 c\\d.txt read10"},
        // A later volume alone: listing passes over the rest of b.bin; extracting
        // it fails, for its start lies in the volume before.
        {"second volume alone, check pass", "set.r00", true, 0, 0, "", "tell:set.r01 c\\d.txt read10"},
        {"second volume alone, extraction", "set.r00", true, 1, 2, "", "b.bin[3]=12"},
        {"last volume alone, check pass", "set.r01", true, 0, 0, "", "c\\d.txt read10"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        Rar rar(temp);
        ASSERT_TRUE(rar.Complete());
        ASSERT_TRUE(WriteFileBytes(temp / "set.rar", first));
        ASSERT_TRUE(WriteFileBytes(temp / "set.r00", second));
        ASSERT_TRUE(CreateDirectoryA((temp / "moved").c_str(), nullptr));
        ASSERT_TRUE(WriteFileBytes(temp / (c.third ? "set.r01" : "moved\\other.r01"), third));
        g_askAnswer = 0;
        g_askRename = *c.rename ? temp / c.rename : std::string();
        const std::string out = temp / "out";

        EXPECT_EQ(c.expected, Walk(rar, temp / c.open, c.mode, c.operation, out)) << c.name;

        const bool whole = c.expected.find("read10") != std::string::npos && c.operation == 2;
        EXPECT_EQ(whole ? "delta" : "<missing>", ReadFileBytes(out + "\\c\\d.txt")) << c.name;
        const std::string big = ReadFileBytes(out + "\\b.bin");
        EXPECT_EQ(whole ? 70000u : 0u, big == "<missing>" ? 0u : big.size()) << c.name << ": written whole or not at all";
    }
}

TEST(Standins, UnrarNamesTheNextVolumeAsTheLibraryDoes)
{
    // A check pass over a set whose one entry goes on through every volume;
    // mode 0 is refused, so the walk ends at the first name that is missing.
    struct Case {
        std::string signature;
        const char* first;
        std::vector<const char*> others;
        const char* expected;
    };
    const Case cases[] = {
        {kRar4, "v.rar", {"v.r00"}, "a[2] tell:v.r00 ask:v.r01 read15"},
        {kRar4, "v.r99", {}, "a[2] ask:v.s00=15"},
        {kRar5, "v.part1.rar", {"v.part2.rar"}, "a[2] tell:v.part2.rar ask:v.part3.rar read15"},
        {kRar5, "v.part09.rar", {}, "a[2] ask:v.part10.rar=15"},
        {kRar5, "v.part9.rar", {}, "a[2] ask:v.part10.rar=15"},
        {kRar5, "trunc.rar", {}, "a[2] ask:urunc.rar=15"},  // no digits: the first letter counts
        // A RAR 5 set under the older names: that naming is tried when the
        // file its own naming gives is missing.
        {kRar5, "Tolvatmp.rar", {"Tolvatmp.r00"}, "a[2] tell:Tolvatmp.r00 ask:Tolvatmp.r01 read15"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        Rar rar(temp);
        ASSERT_TRUE(rar.Complete());
        ASSERT_TRUE(WriteFileBytes(temp / c.first, c.signature + "entry a x\ncontinues\n"));
        for (const char* other : c.others) ASSERT_TRUE(WriteFileBytes(temp / other, c.signature + "volume 1 a\ncontinues\n"));
        g_askAnswer = 0;
        g_askRename.clear();
        EXPECT_EQ(c.expected, Walk(rar, temp / c.first, 0, 0)) << c.first;
    }
}

TEST(Standins, UnrarNeedsThePasswordOfTheEntriesAndTheHeaders)
{
    const std::string entries = "password pw\nentry s.txt secret\npassword -\nentry p.txt plain\n";
    const std::string headers = "headerpassword hp\nentry h.txt hidden\n";
    struct Case {
        const char* name;
        std::string archive;
        unsigned mode;
        int operation;
        const char* password;  // none: never set
        const char* expected;
    };
    const Case cases[] = {
        {"RAR 5, none", kRar5 + entries, 1, 2, nullptr, "s.txt[4]=22"},
        {"RAR 5, wrong", kRar5 + entries, 1, 2, "no", "s.txt[4]=24"},
        {"RAR 5, right", kRar5 + entries, 1, 2, "pw", "s.txt[4] p.txt read10"},
        {"older format, wrong: no password check, the CRC fails", kRar4 + entries, 1, 2, "no", "s.txt[4]=12"},
        {"older format, right", kRar4 + entries, 1, 2, "pw", "s.txt[4] p.txt read10"},
        {"skipping needs none", kRar5 + entries, 0, 0, nullptr, "s.txt[4] p.txt read10"},
        {"headers, none", kRar5 + headers, 0, 0, nullptr, "read22"},
        {"headers, wrong", kRar5 + headers, 0, 0, "no", "read24"},
        {"headers, right", kRar5 + headers, 1, 2, "hp", "h.txt[4] read10"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        Rar rar(temp);
        ASSERT_TRUE(rar.Complete());
        ASSERT_TRUE(WriteFileBytes(temp / "locked.rar", c.archive));
        EXPECT_EQ(c.expected, Walk(rar, temp / "locked.rar", c.mode, c.operation, temp.path(), c.password)) << c.name;
        const bool extracted = c.operation == 2 && std::string(c.expected).find("read10") != std::string::npos;
        const char* file = c.archive.find("headerpassword") != std::string::npos ? "h.txt" : "s.txt";
        EXPECT_EQ(extracted, ReadFileBytes(temp / file) != "<missing>") << c.name;
    }

    // A failed header decryption spends the handle: the archive must be opened again.
    TempFolder temp;
    Rar rar(temp);
    ASSERT_TRUE(rar.Complete());
    const std::string path = temp / "headers.rar";
    ASSERT_TRUE(WriteFileBytes(path, kRar5 + headers));
    RarOpenRecord record = {path.c_str(), 0, 0, nullptr, 0, 0, 0};
    HANDLE handle = rar.open(&record);
    ASSERT_NE(nullptr, handle);
    RarHeaderRecord header = {};
    EXPECT_EQ(22, rar.read(handle, &header));
    rar.setPassword(handle, const_cast<char*>("hp"));
    EXPECT_EQ(22, rar.read(handle, &header));
    EXPECT_EQ(0, rar.close(handle));
}

TEST(Standins, UnrarFailsWhereTheScriptSays)
{
    struct Case {
        const char* name;
        std::string first;   // x.part1.rar; empty: no such file
        std::string second;  // x.part2.rar; empty: none
        unsigned mode;
        int operation;
        const char* expected;
    };
    const Case cases[] = {
        {"missing file", "", "", 1, 2, "open=15"},
        {"not a RAR file", kZipSignature + "entry a x\n", "", 1, 2, "open=13"},
        {"open result", kRar5 + "entry a x\nopenresult 11\n", "", 1, 2, "open=11"},
        {"unreadable script", kRar5 + "entyr a x\n", "", 1, 2, "open=-99"},
        {"no entries", kRar5, "", 1, 2, "read10"},
        {"header result", kRar5 + "headerresult 12 after 1\nentry a x\nentry b y\n", "", 0, 0, "a read12"},
        {"process result", kRar5 + "entry a x\nentry b y\nprocessresult 16 at 2\n", "", 1, 2, "a b=16"},
        // A volume that ends between entries moves on in the header read; the
        // next volume's commands join in.
        {"later volume", kRar5 + "entry a x\nnextvolume\n", kRar5 + "volume 1\nentry b y\nprocessresult 19 at 2\n", 1,
         2, "a tell:x.part2.rar b=19"},
        {"later volume missing", kRar5 + "entry a x\nnextvolume\n", "", 0, 0, "a ask:x.part2.rar read15"},
        {"later volume no RAR file", kRar5 + "entry a x\nnextvolume\n", kZipSignature, 0, 0, "a read18"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        Rar rar(temp);
        ASSERT_TRUE(rar.Complete());
        if (!c.first.empty()) {
            ASSERT_TRUE(WriteFileBytes(temp / "x.part1.rar", c.first));
        }
        if (!c.second.empty()) {
            ASSERT_TRUE(WriteFileBytes(temp / "x.part2.rar", c.second));
        }
        g_askAnswer = 0;
        g_askRename.clear();
        EXPECT_EQ(c.expected, Walk(rar, temp / "x.part1.rar", c.mode, c.operation, temp.path())) << c.name;
    }
}

TEST(Standins, UnrarLogsEveryCallAndFillsTheRecords)
{
    TempFolder temp;
    Rar rar(temp);
    ASSERT_TRUE(rar.Complete());
    const std::string first = temp / "log.part1.rar";
    const std::string second = temp / "log.part2.rar";
    ASSERT_TRUE(WriteFileBytes(first, kRar5 + "comment hello\npassword pw\nentry dir/\x95\x5C.txt secret\ncontinues\n"));
    ASSERT_TRUE(WriteFileBytes(second, kRar5 + "volume 1 dir/\x95\x5C.txt\n"));
    std::vector<char> comment(16384, '*');
    RarOpenRecord record = {first.c_str(), 1, 12345, comment.data(), 16384, 0, 0};
    HANDLE handle = rar.open(&record);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(0u, record.openResult);
    EXPECT_EQ(6u, record.cmtSize);
    EXPECT_EQ(1u, record.cmtState);
    EXPECT_STREQ("hello", comment.data());
    rar.setChangeVolume(handle, &RecordVolumeChange);
    rar.setPassword(handle, const_cast<char*>("pw"));
    RarHeaderRecord header;
    std::memset(&header, '*', sizeof header);
    header.cmtBuf = nullptr;
    EXPECT_EQ(0, rar.read(handle, &header));
    EXPECT_EQ(first, header.arcName);
    EXPECT_STREQ("dir\\\x95\x5C.txt", header.fileName);
    EXPECT_EQ(6u, header.flags);  // goes on, encrypted
    EXPECT_EQ(6u, header.unpSize);
    EXPECT_EQ(nullptr, header.cmtBuf);
    const std::string out = temp / "out";
    EXPECT_EQ(0, rar.process(handle, 2, const_cast<char*>(out.c_str()), nullptr));
    EXPECT_EQ(10, rar.read(handle, &header));
    EXPECT_STREQ("", header.fileName);
    EXPECT_EQ(0, rar.close(handle));
    EXPECT_EQ("secret", ReadFileBytes(out + "\\dir\\\x95\x5C.txt"));

    const std::vector<std::string> expected = {
        "load",
        "RAROpenArchive\tarc=" + first + "\tmode=1\tcmtbuf=set\tcmtsize=16384\topen=0",
        "RARSetChangeVolProc",
        "RARSetPassword\tpassword=pw",
        "RARReadHeader\tresult=0\tname=dir\\\x95\x5C.txt\tflags=6",
        "changevol\tmode=1\tname=" + second + "\treturned=1\tafter=" + second,
        "wrote\tname=dir/\x95\x5C.txt",
        "RARProcessFile\top=2\tdest=" + out + "\tname=null\tresult=0",
        "RARReadHeader\tresult=10\tname=\tflags=0",
        "RARCloseArchive",
    };
    EXPECT_EQ(expected, ReadLog(temp));

    // A comment larger than the buffer is cut and said to be.
    char small[3];
    RarOpenRecord cut = {first.c_str(), 0, 0, small, sizeof small, 0, 0};
    handle = rar.open(&cut);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(3u, cut.cmtSize);
    EXPECT_EQ(20u, cut.cmtState);
    EXPECT_STREQ("he", small);
    rar.close(handle);
}

TEST(Standins, UnrarCatchesCallersThatBreakTheContract)
{
    TempFolder temp;
    Rar rar(temp);
    ASSERT_TRUE(rar.Complete());
    const std::string first = temp / "c.rar";
    ASSERT_TRUE(WriteFileBytes(first, kRar4 + "entry a.txt alpha\ncontinues\n"));
    ASSERT_TRUE(WriteFileBytes(temp / "c.r00", kRar4 + "volume 1 a.txt\n"));
    RarHeaderRecord header = {};
    auto open = [&](unsigned mode) {
        RarOpenRecord record = {first.c_str(), mode, 0, nullptr, 0, 0, 0};
        return rar.open(&record);
    };

    HANDLE handle = open(1);
    EXPECT_EQ(-99, rar.process(handle, 2, nullptr, nullptr)) << "no header read before";
    rar.setChangeVolume(handle, reinterpret_cast<ChangeVolumeProc>(&ChangeVolumeOfTheWrongConvention));
    EXPECT_EQ(0, rar.read(handle, &header));
    EXPECT_EQ(-99, rar.process(handle, 2, const_cast<char*>(temp.path().c_str()), nullptr));
    EXPECT_EQ(0, rar.close(handle));
    EXPECT_EQ(-99, rar.close(handle)) << "closed twice";

    // Answering "go on" for a volume that stays missing would loop for ever in the real library.
    ASSERT_TRUE(DeleteFileA((temp / "c.r00").c_str()));
    handle = open(0);
    rar.setChangeVolume(handle, &RecordVolumeChange);
    g_askAnswer = 1;
    g_askRename.clear();
    EXPECT_EQ(0, rar.read(handle, &header));
    EXPECT_EQ(-99, rar.process(handle, 0, nullptr, nullptr));
    rar.close(handle);

    // The process data callback sees the bytes and can stop the entry.
    handle = open(1);
    rar.setProcessData(handle, &StopOnData);
    g_dataBytes = 0;
    EXPECT_EQ(0, rar.read(handle, &header));
    ASSERT_TRUE(WriteFileBytes(temp / "c.r00", kRar4 + "volume 1 a.txt\n"));
    EXPECT_EQ(21, rar.process(handle, 2, const_cast<char*>(temp.path().c_str()), nullptr));
    EXPECT_EQ(5, g_dataBytes);
    EXPECT_EQ("<missing>", ReadFileBytes(temp / "a.txt"));
    rar.close(handle);

    const std::vector<std::string> log = ReadLog(temp);
    for (const char* fault : {"fault\tRARProcessFile without a header read before it",
                              "fault\tchange-volume callback left the stack pointer -8 bytes off",
                              "fault\tRARCloseArchive called with a handle that is not open",
                              "fault\tchange-volume callback went on answering non-zero for a volume that stays missing",
                              "processdata\tcount=5\treturned=0"}) {
        EXPECT_TRUE(Contains(log, fault)) << fault;
    }
    EXPECT_FALSE(Contains(log, "wrote"));
}

TEST(Standins, UnrarExportsItsEntryPointsUndecorated)
{
    const char* const names[] = {"RAROpenArchive", "RARCloseArchive", "RARReadHeader", "RARProcessFile",
                                 "RARSetChangeVolProc", "RARSetProcessDataProc", "RARSetPassword"};
    for (const char* variant : {"unrar.dll", "no-entry\\unrar.dll"}) {
        TempFolder temp;
        Library library(temp, variant);
        ASSERT_NE(nullptr, library.module) << variant;
        const bool complete = std::string(variant) == "unrar.dll";
        for (const char* name : names) {
            const bool expected = complete || std::string(name) != "RARSetPassword";
            EXPECT_EQ(expected, library.Entry<void*>(name) != nullptr) << variant << " " << name;
        }
        EXPECT_EQ(nullptr, library.Entry<void*>("RAROpenArchive@4")) << variant;
    }
}
