// Stand-in archiver libraries for the tests. One source builds every variant:
// STANDIN_UNLHA exports Unlha, STANDIN_UNZIP exports UnZip, STANDIN_WINDLL_UNZIP
// exports windll_unzip; a variant with none of them loads but has no entry point.
//
// A test archive is a real file whose first line carries the signature the
// program identifies; the rest is a script of commands (entries to write, text
// to print, passwords, delays, results). Every call and every callback answer is
// appended to "standin-calls.log" beside the library, which the tests read.
//
// Script commands, one a line (# comments and blank lines are skipped; values
// take the escapes \\ \n \r \t \s \xHH, the last value of a line runs to its end):
//   entry NAME CONTENT   write NAME under the destination ('/' or '\'; a final
//                        separator makes a folder)
//   big NAME BYTES       an entry of BYTES filler bytes, byte i being 'a' + i % 26
//   password PW          later entries are encrypted with PW; "password -" ends it
//   pwsize N             size of the buffer given to the password callback (80)
//   print TEXT           one print callback call, or text into the output buffer
//   printfill N          N bytes of filler lines in one print
//   noreport             later entries get no "  inflating: " line
//   delay MS             wait MS before each later entry, dispatching messages
//   replace              call the replace callback before the next entry
//   message              call the message callback with the values 1 to 13
//   result N             the entry point's result, wherever the line stands
// Without "result": 0, 80 when the password prompt was cancelled, 82 when an
// entry was skipped for its password, 0x8013 (LZH) or 50 (ZIP) when one could
// not be written, and -99 for a fault (unreadable script, broken callback).
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "standin_common.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

namespace {

// ---------------------------------------------------------------- script

enum Op { kEntry, kBig, kPassword, kPrint, kPrintFill, kNoReport, kDelay, kReplace, kMessage, kResult, kPwSize };

struct Command {
    Op op;
    std::string name;     // entry name
    std::string text;     // content, printed text or password
    long long number;     // size, delay, result, buffer size
    bool flag;            // password: false for "password -"
};

struct Script {
    std::vector<Command> commands;
    bool hasResult = false;
    int result = 0;
};

// Reads the script that follows the signature line. On a line it cannot read
// it logs a fault and answers false, so that a mistyped test does nothing at
// all instead of passing by luck.
bool ParseScript(const std::string& file, Script& script)
{
    size_t position = file.find('\n');
    position = position == std::string::npos ? file.size() : position + 1;
    int lineNumber = 1;
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
        Command command{kEntry, std::string(), std::string(), 0, true};
        bool ok = true;
        if (op == "entry") {
            command.op = kEntry;
            command.name = Unescape(TakeWord(rest));
            command.text = Unescape(rest);
            ok = !command.name.empty();
        } else if (op == "big") {
            command.op = kBig;
            command.name = Unescape(TakeWord(rest));
            ok = !command.name.empty() && ParseNumber(rest, command.number) && command.number >= 0;
        } else if (op == "password") {
            command.op = kPassword;
            command.flag = rest != "-";
            command.text = Unescape(rest);
        } else if (op == "print") {
            command.op = kPrint;
            command.text = Unescape(rest);
        } else if (op == "printfill") {
            command.op = kPrintFill;
            ok = ParseNumber(rest, command.number) && command.number >= 0;
        } else if (op == "noreport") {
            command.op = kNoReport;
        } else if (op == "delay") {
            command.op = kDelay;
            ok = ParseNumber(rest, command.number) && command.number >= 0;
        } else if (op == "replace") {
            command.op = kReplace;
        } else if (op == "message") {
            command.op = kMessage;
        } else if (op == "result") {
            command.op = kResult;
            ok = ParseNumber(rest, command.number);
            script.hasResult = true;
            script.result = static_cast<int>(static_cast<std::uint32_t>(command.number));
        } else if (op == "pwsize") {
            command.op = kPwSize;
            ok = ParseNumber(rest, command.number) && command.number >= 0 && command.number <= 0x100000;
        } else {
            ok = false;
        }
        if (!ok) {
            LogLine("fault\tscript line " + Number(lineNumber) + " cannot be read: " + Readable(line));
            return false;
        }
        script.commands.push_back(command);
    }
    return true;
}

// ---------------------------------------------------------------- one call

enum Form { kFormUnlha, kFormUnZip, kFormWindll };

struct Call {
    Form form;
    std::string destination;
    // Command-line forms: the caller's output buffer.
    char* output = nullptr;
    DWORD outputSize = 0;
    DWORD outputLength = 0;
    // windll_unzip: the caller's callbacks (null when not given).
    const void* print = nullptr;
    const void* replace = nullptr;
    const void* password = nullptr;
    const void* message = nullptr;
    bool fault = false;
};

std::uint32_t CallBack(Call& call, const char* which, const void* fn, const std::uint32_t* args, int count)
{
    int imbalance = 0;
    const std::uint32_t answer = StandinCallChecked(fn, args, count, &imbalance);
    if (imbalance != 0) {
        LogLine(std::string("fault\t") + which + " callback left the stack pointer " + Number(imbalance) +
                " bytes off: it does not use the standard calling convention");
        call.fault = true;
    }
    return answer;
}

void Print(Call& call, const std::string& text)
{
    if (call.form == kFormWindll) {
        if (!call.print) return;
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back(0);
        const std::uint32_t args[] = {Arg(buffer.data()), static_cast<std::uint32_t>(text.size())};
        const int returned = static_cast<int>(CallBack(call, "print", call.print, args, 2));
        LogLine("print\tcount=" + Number(text.size()) + "\treturned=" + Number(returned));
        return;
    }
    // Straight into the caller's buffer, like the libraries do: filled to the
    // brim when the text does not fit, terminated only where there is room.
    if (!call.output) return;
    const DWORD room = call.outputSize - call.outputLength;
    const DWORD take = text.size() < room ? static_cast<DWORD>(text.size()) : room;
    std::memcpy(call.output + call.outputLength, text.data(), take);
    call.outputLength += take;
    if (call.outputLength < call.outputSize) call.output[call.outputLength] = 0;
}

std::string Filler(long long bytes)
{
    // Lines that never look like an entry report (bytes 8 to 11 are no "ing:").
    static const char line[] = "---------------------------------------------------------------\n";
    std::string text;
    text.reserve(static_cast<size_t>(bytes));
    while (static_cast<long long>(text.size()) < bytes) text += line;
    text.resize(static_cast<size_t>(bytes));
    return text;
}

// Waits, dispatching the thread's messages meanwhile as a library with windows
// of its own does, so that a test can press a Cancel button during the wait.
void Wait(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        MSG msg;
        while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) break;
        if (quit) {
            Sleep(milliseconds - elapsed);
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
    if (quit) PostQuitMessage(quitCode);
}

std::string ReportName(const std::string& name)
{
    std::string report = name;
    for (size_t i = 0; i < report.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(report[i])) && i + 1 < report.size()) ++i;
        else if (report[i] == '\\') report[i] = '/';
    }
    return report;
}

std::string EntryPath(const Call& call, const std::string& nativeName)
{
    const std::string& folder = call.destination;
    const bool endsWithSeparator = !folder.empty() && AfterLastSeparator(folder) == folder.size() &&
                                   IsSeparator(folder.back());
    return endsWithSeparator ? folder + nativeName : folder + "\\" + nativeName;
}

bool WriteEntry(const Call& call, const Command& command)
{
    std::vector<size_t> separators;
    const std::string native = NativeName(command.name, separators);
    for (size_t separator : separators) {
        if (separator > 0) CreateDirectoryA(EntryPath(call, native.substr(0, separator)).c_str(), nullptr);
    }
    // A name that ends with a separator is a folder entry.
    if (!separators.empty() && separators.back() == native.size() - 1) {
        const DWORD attributes = GetFileAttributesA(EntryPath(call, native).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    HANDLE file = CreateFileA(EntryPath(call, native).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    DWORD written = 0;
    if (command.op == kEntry) {
        ok = WriteFile(file, command.text.data(), static_cast<DWORD>(command.text.size()), &written, nullptr) &&
             written == command.text.size();
    } else {
        ok = WriteFiller(file, command.number);
    }
    CloseHandle(file);
    return ok;
}

// The password callback, answered as the ZIP library expects. Returns 0 when
// the entry may be written, 1 when it is skipped, 2 when the user cancelled.
int Unlock(Call& call, const Command& entry, const std::string& password, std::string& held, bool& holding,
           int bufferSize)
{
    if (holding && held == password) return 0;
    if (call.form != kFormWindll || !call.password) return 1;
    // A guard after the buffer shows a callback that writes past the size it was given.
    const size_t guard = 16;
    const size_t size = bufferSize > 0 ? static_cast<size_t>(bufferSize) : 0;
    for (int prompt = 0; prompt < 2; ++prompt) {
        std::vector<char> buffer(size + guard, '\xA5');
        std::fill(buffer.begin(), buffer.begin() + size, '*');  // no zero: an unterminated answer shows
        if (size > 0) buffer[0] = 0;
        static const char promptText[] = "Enter password for: ";
        std::vector<char> name(entry.name.begin(), entry.name.end());
        name.push_back(0);
        const std::uint32_t args[] = {Arg(buffer.data()), static_cast<std::uint32_t>(bufferSize), Arg(promptText),
                                      Arg(name.data())};
        const int returned = static_cast<int>(CallBack(call, "password", call.password, args, 4));
        const size_t textLength = strnlen(buffer.data(), size);
        const std::string text(buffer.data(), textLength);
        LogLine("password\tsize=" + Number(bufferSize) + "\tprompt=" + Readable(promptText) + "\tname=" +
                Readable(entry.name) + "\treturned=" + Number(returned) + "\ttext=" + Readable(text));
        for (size_t i = size; i < buffer.size(); ++i) {
            if (buffer[i] != '\xA5') {
                LogLine("fault\tpassword callback wrote past the end of its " + Number(bufferSize) + "-byte buffer");
                call.fault = true;
                break;
            }
        }
        if (call.fault) return 2;
        if (returned == -2) return 2;
        if (returned != 0) return 1;
        if (textLength < size && text == password) {
            held = text;
            holding = true;
            return 0;
        }
    }
    return 1;
}

int Run(Call& call, const Script& script)
{
    bool report = true;
    bool encrypted = false;
    std::string password;
    std::string held;  // the right password last given in this call
    bool holding = false;
    int passwordSize = 80;
    DWORD delay = 0;
    bool replacePending = false;
    bool cancelled = false;
    bool skippedForPassword = false;
    bool writeFailed = false;

    for (const Command& command : script.commands) {
        if (call.fault || cancelled) break;
        switch (command.op) {
        case kEntry:
        case kBig: {
            if (delay) Wait(delay);
            if (replacePending && call.form == kFormWindll && call.replace) {
                std::vector<char> name(MAX_PATH * 2, 0);
                std::vector<size_t> separators;
                const std::string path = EntryPath(call, NativeName(command.name, separators));
                std::memcpy(name.data(), path.data(), path.size() < MAX_PATH ? path.size() : MAX_PATH - 1);
                const std::uint32_t args[] = {Arg(name.data())};
                const int returned = static_cast<int>(CallBack(call, "replace", call.replace, args, 1));
                LogLine("replace\treturned=" + Number(returned));
                if (call.fault) break;
            }
            replacePending = false;
            if (encrypted) {
                const int unlocked = Unlock(call, command, password, held, holding, passwordSize);
                if (unlocked == 2) {
                    cancelled = !call.fault;
                    break;
                }
                if (unlocked == 1) {
                    LogLine("skipped\tname=" + Readable(command.name));
                    skippedForPassword = true;
                    break;
                }
            }
            // Like the real library: the report line begins before the entry is
            // written (name padded to 22 columns) and ends once it is done.
            const bool reported = report && call.form != kFormUnlha;
            if (reported) {
                std::string shown = call.destination + "/" + ReportName(command.name);
                if (shown.size() < 22) shown.resize(22, ' ');
                Print(call, "  inflating: " + shown + "  ");
            }
            const bool written = WriteEntry(call, command);
            if (reported) Print(call, "\n");
            if (!written) {
                LogLine("skipped\tname=" + Readable(command.name));
                writeFailed = true;
                break;
            }
            LogLine("wrote\tname=" + Readable(command.name));
            break;
        }
        case kPassword:
            encrypted = command.flag;
            password = command.flag ? command.text : std::string();
            break;
        case kPrint: Print(call, command.text); break;
        case kPrintFill: Print(call, Filler(command.number)); break;
        case kNoReport: report = false; break;
        case kDelay: delay = static_cast<DWORD>(command.number); break;
        case kReplace: replacePending = true; break;
        case kMessage:
            if (call.form == kFormWindll && call.message) {
                // Thirteen distinct values, so that a test can see them arrive in order.
                std::uint32_t args[13];
                for (int i = 0; i < 13; ++i) args[i] = i + 1;
                CallBack(call, "message", call.message, args, 13);
                LogLine("message");
            }
            break;
        case kResult: break;  // read with the script: it holds wherever it stands
        case kPwSize: passwordSize = static_cast<int>(command.number); break;
        }
    }
    if (call.fault) return kFaultResult;
    if (script.hasResult) return script.result;
    if (cancelled) return 80;
    if (skippedForPassword) return 82;
    if (writeFailed) return call.form == kFormUnlha ? 0x8013 : 50;
    return 0;
}

int Finish(int result)
{
    LogLine("result\t" + Number(result));
    return result;
}

bool HasSignature(Form form, const std::string& bytes)
{
    if (form == kFormUnlha) return bytes.size() >= 7 && bytes.compare(2, 3, "-lh") == 0 && bytes[6] == '-';
    return bytes.compare(0, 4, "PK\x03\x04") == 0;
}

// Reads the archive and runs its script for one call.
int Extract(Call& call, const std::string& archive)
{
    const bool lzh = call.form == kFormUnlha;
    std::string bytes;
    if (!ReadWholeFile(archive, bytes)) return Finish(lzh ? 0x8018 : 9);
    if (!HasSignature(call.form, bytes)) return Finish(lzh ? 0x801B : 3);
    Script script;
    if (!ParseScript(bytes, script)) return Finish(kFaultResult);
    return Finish(Run(call, script));
}

// Command lines "<prefix><archive> <destination>\" with both paths unquoted:
// the archive is the first split at a blank that names an existing file.
int ExtractByCommandLine(Call& call, const char* commandLine, const char* prefix)
{
    const bool lzh = call.form == kFormUnlha;
    const int wrongCommand = lzh ? 0x801C : 10;
    const std::string line = commandLine ? commandLine : "";
    const size_t prefixLength = std::strlen(prefix);
    if (line.compare(0, prefixLength, prefix) != 0) return Finish(wrongCommand);
    std::string rest = line.substr(prefixLength);
    // The destination must end with a real backslash, not the trail byte of a
    // double-byte character.
    if (rest.empty() || AfterLastSeparator(rest) != rest.size() || rest.back() != '\\') {
        LogLine("fault\tthe command line does not end with a backslash");
        return Finish(wrongCommand);
    }
    rest.pop_back();
    for (size_t blank = rest.find(' '); blank != std::string::npos; blank = rest.find(' ', blank + 1)) {
        const std::string archive = rest.substr(0, blank);
        if (!IsExistingFile(archive)) continue;
        call.destination = rest.substr(blank + 1);
        if (call.destination.empty()) return Finish(wrongCommand);
        return Extract(call, archive);
    }
    return Finish(lzh ? 0x8018 : 9);
}

[[maybe_unused]] int CommandLineEntry(Form form, const char* name, const char* prefix, HWND owner, LPCSTR commandLine, LPSTR output,
                     DWORD outputSize)
{
    LogLine(std::string(name) + "\thwnd=" + (owner ? "set" : "0") + "\tcmd=" + Readable(commandLine) +
            "\tsize=" + Number(outputSize));
    Call call;
    call.form = form;
    call.output = output;
    call.outputSize = output ? outputSize : 0;
    return ExtractByCommandLine(call, commandLine, prefix);
}

}  // namespace

// Which variant this library is, for the tests; its export also keeps the
// linker from exporting every symbol of a variant that has no entry point.
STANDIN_EXPORT const char* WINAPI StandinVariant()
{
#if defined(STANDIN_UNLHA)
    return "unlha32";
#elif defined(STANDIN_WINDLL_UNZIP)
    return "unzip32";
#elif defined(STANDIN_UNZIP)
    return "unzip32 (UnZip only)";
#else
    return "no entry point";
#endif
}

#if defined(STANDIN_UNLHA)
STANDIN_EXPORT int WINAPI Unlha(HWND owner, LPCSTR commandLine, LPSTR output, DWORD outputSize)
{
    return CommandLineEntry(kFormUnlha, "Unlha", "x -u -gm1 ", owner, commandLine, output, outputSize);
}
#endif

#if defined(STANDIN_UNZIP)
STANDIN_EXPORT int WINAPI UnZip(HWND owner, LPCSTR commandLine, LPSTR output, DWORD outputSize)
{
    return CommandLineEntry(kFormUnZip, "UnZip", "-x -u ", owner, commandLine, output, outputSize);
}
#endif

#if defined(STANDIN_WINDLL_UNZIP)
STANDIN_EXPORT int WINAPI windll_unzip(int a1, char** a2, int a3, char** a4, void* options, void* callbacks)
{
    const std::uint32_t* fields = static_cast<const std::uint32_t*>(options);
    const std::uint32_t* slots = static_cast<const std::uint32_t*>(callbacks);
    std::string line = "windll_unzip\targs=" + Number(a1) + "," + (a2 ? "set" : "0") + "," + Number(a3) + "," +
                       (a4 ? "set" : "0");
    const char* archive = nullptr;
    const char* destination = nullptr;
    if (fields) {
        line += "\tflags=";
        for (int i = 0; i < 15; ++i) line += (i ? "," : "") + Number(static_cast<std::int32_t>(fields[i]));
        archive = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(fields[15]));
        destination = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(fields[16]));
    } else {
        line += "\tflags=none";
    }
    line += "\tarchive=" + Readable(archive) + "\tdestination=" + Readable(destination) + "\tcallbacks=";
    if (slots) {
        for (int i = 0; i < 5; ++i) line += std::string(i ? "," : "") + (slots[i] ? "set" : "0");
        for (int i = 5; i < 10; ++i) line += "," + Number(slots[i]);
    } else {
        line += "none";
    }
    LogLine(line);

    if (!fields || !slots || !archive || !destination) {
        LogLine("fault\twindll_unzip needs its option record, its callback record and both paths");
        return Finish(kFaultResult);
    }
    Call call;
    call.form = kFormWindll;
    call.destination = destination;
    auto slot = [&](int i) { return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(slots[i])); };
    call.print = slot(0);
    call.replace = slot(2);
    call.password = slot(3);
    call.message = slot(4);
    return Extract(call, archive);
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
