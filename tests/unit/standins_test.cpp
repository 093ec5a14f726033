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

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

std::vector<std::string> ReadLog(const TempFolder& folder)
{
    std::vector<std::string> lines;
    const std::string log = ReadBytes(folder / "standin-calls.log");
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

    EXPECT_EQ("two\r\nlines and\x01\\", ReadBytes(destination + "\\sub\\\x95\x5Cn.txt"));
    EXPECT_EQ("<missing>", ReadBytes(destination + "\\secret.txt")) << "no password prompt in this form";
    const std::string big = ReadBytes(destination + "\\big.bin");
    ASSERT_EQ(70000u, big.size());
    for (size_t i : {size_t(0), size_t(65535), size_t(65536), size_t(69999)}) {
        EXPECT_EQ(static_cast<char>('a' + i % 26), big[i]) << i;
    }
    EXPECT_EQ("", ReadBytes(destination + "\\empty.txt"));
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
    EXPECT_EQ("<missing>", ReadBytes(temp / "\x95\x5C\\a.txt"));
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
    EXPECT_EQ("A", ReadBytes(destination + "\\a.txt"));

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
    EXPECT_EQ("alpha", ReadBytes(destination + "\\dir\\a.txt"));
    EXPECT_EQ("beta", ReadBytes(destination + "\\b.txt"));
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
            const std::string content = ReadBytes(temp / (std::string(name) + ".txt"));
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
    EXPECT_EQ("a", ReadBytes(temp / "a.txt"));
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
