// The real RAR library, built from its public source, against real archives
// made by the real rar tool (tests/realrar/make-archives.sh). The program's RAR
// code and the stand-in library are written against these answers; when a
// library version answers differently, a row of the table below shows where.
//
// Each case drives the library as the program does: open (mode 0 for the
// check pass, mode 1 for extraction), the change-volume callback answering 1
// for a notification and 0 for a request, then header reads each followed by
// a skip (check pass) or an extraction, until a call fails. Every call and
// callback is written to a transcript, and the transcript is compared whole.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

namespace {

// The library's records for its 32-bit interface, as it declares them.
struct RarOpenRecord {
    char* archiveName;
    unsigned int openMode;
    unsigned int openResult;
    char* commentBuffer;
    unsigned int commentBufferSize;
    unsigned int commentSize;
    unsigned int commentState;
};
static_assert(sizeof(RarOpenRecord) == 28, "open record of the 32-bit interface");

struct RarHeaderRecord {
    char archiveName[260];
    char fileName[260];
    unsigned int flags;
    unsigned int packedSize;
    unsigned int unpackedSize;
    unsigned int hostOs;
    unsigned int fileCrc;
    unsigned int fileTime;
    unsigned int unpackVersion;
    unsigned int method;
    unsigned int fileAttributes;
    char* commentBuffer;
    unsigned int commentBufferSize;
    unsigned int commentSize;
    unsigned int commentState;
};
static_assert(sizeof(RarHeaderRecord) == 572, "header record of the 32-bit interface");

typedef int(CALLBACK* ChangeVolumeCallback)(char* volume, int mode);
typedef HANDLE(WINAPI* OpenArchive)(RarOpenRecord*);
typedef int(WINAPI* CloseArchive)(HANDLE);
typedef int(WINAPI* ReadHeader)(HANDLE, RarHeaderRecord*);
typedef int(WINAPI* ProcessFile)(HANDLE, int operation, char* folder, char* name);
typedef void(WINAPI* SetChangeVolProc)(HANDLE, ChangeVolumeCallback);
typedef void(WINAPI* SetPassword)(HANDLE, char*);

const int kSkip = 0;
const int kExtract = 2;
const unsigned int kEncrypted = 4;

// The build folder: the test executables are in its "bin".
std::string BuildFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\'));  // the exe's folder
    folder.resize(folder.find_last_of('\\'));  // its parent
    return folder;
}

std::string ArchiveFolder() { return BuildFolder() + "\\realrar\\archives"; }

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// Everything below a folder, relative names, folders with a trailing backslash.
void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& names)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            names.push_back(prefix + name + "\\");
            ListFiles(folder + "\\" + name, prefix + name + "\\", names);
        } else {
            names.push_back(prefix + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

struct RarLibrary {
    HMODULE module = nullptr;
    OpenArchive open = nullptr;
    CloseArchive close = nullptr;
    ReadHeader readHeader = nullptr;
    ProcessFile process = nullptr;
    SetChangeVolProc setChangeVolProc = nullptr;
    SetPassword setPassword = nullptr;

    RarLibrary()
    {
        module = LoadLibraryA((BuildFolder() + "\\realrar\\unrar.dll").c_str());
        if (!module) return;
        open = Entry<OpenArchive>("RAROpenArchive");
        close = Entry<CloseArchive>("RARCloseArchive");
        readHeader = Entry<ReadHeader>("RARReadHeader");
        process = Entry<ProcessFile>("RARProcessFile");
        setChangeVolProc = Entry<SetChangeVolProc>("RARSetChangeVolProc");
        setPassword = Entry<SetPassword>("RARSetPassword");
    }
    ~RarLibrary()
    {
        if (module) FreeLibrary(module);
    }
    template <typename T> T Entry(const char* name) const
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    bool Complete() const { return open && close && readHeader && process && setChangeVolProc && setPassword; }
};

// The transcript the callback writes to, and the folder of the archive being
// read: a volume asked for in that folder is written by its name alone.
std::vector<std::string>* g_transcript;
std::string g_archiveFolder;

int CALLBACK RecordVolume(char* volume, int mode)
{
    const std::string path(volume);
    const std::string shown = FolderOf(path) == g_archiveFolder ? NameOf(path) : path;
    g_transcript->push_back("volume " + std::to_string(mode) + " " + shown);
    return mode != 0 ? 1 : 0;
}

struct Run {
    int openMode = 0;                     // 0 check pass, 1 extraction
    const char* openPassword = nullptr;   // set right after the open: encrypted headers
    const char* entryPassword = nullptr;  // set at the first encrypted entry
};

// Drives the library over one archive and returns what happened, call by call.
std::vector<std::string> Drive(const RarLibrary& rar, const std::string& archive, const Run& run,
                               const std::string& destination)
{
    std::vector<std::string> transcript;
    g_transcript = &transcript;
    g_archiveFolder = FolderOf(archive);

    std::vector<char> comments(16384, 0);
    std::string archiveName = archive;
    RarOpenRecord openRecord = {};
    openRecord.archiveName = &archiveName[0];
    openRecord.openMode = run.openMode;
    openRecord.commentBuffer = comments.data();
    openRecord.commentBufferSize = 16384;
    HANDLE handle = rar.open(&openRecord);
    transcript.push_back("open " + std::to_string(openRecord.openResult));
    if (openRecord.openResult != 0) return transcript;

    rar.setChangeVolProc(handle, RecordVolume);
    std::string password;
    if (run.openPassword) {
        password = run.openPassword;
        rar.setPassword(handle, &password[0]);
    }
    std::string folder = destination;
    RarHeaderRecord header = {};
    header.commentBuffer = nullptr;
    bool passwordGiven = false;
    for (;;) {
        const int read = rar.readHeader(handle, &header);
        if (read != 0) {
            transcript.push_back("header " + std::to_string(read));
            break;
        }
        transcript.push_back("header 0 " + std::string(header.fileName) + " flags " + std::to_string(header.flags));
        if ((header.flags & kEncrypted) && run.entryPassword && !passwordGiven) {
            password = run.entryPassword;
            rar.setPassword(handle, &password[0]);
            passwordGiven = true;
        }
        const int processed = run.openMode == 0 ? rar.process(handle, kSkip, nullptr, nullptr)
                                                : rar.process(handle, kExtract, &folder[0], nullptr);
        transcript.push_back("process " + std::to_string(processed));
        if (processed != 0) break;
    }
    transcript.push_back("close " + std::to_string(rar.close(handle)));
    return transcript;
}

// What an extraction left: folders as "name\", files as "name same" when they
// equal the file of that name the archives were made from, "name SIZE bytes"
// otherwise; in sorted order.
std::vector<std::string> Written(const std::string& destination)
{
    std::vector<std::string> names, written;
    ListFiles(destination, "", names);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.back() == '\\') {
            written.push_back(name);
            continue;
        }
        const std::string bytes = ReadFileBytes(destination + "\\" + name);
        if (bytes == ReadFileBytes(ArchiveFolder() + "\\content\\" + name)) {
            written.push_back(name + " same");
        } else {
            written.push_back(name + " " + std::to_string(bytes.size()) + " bytes");
        }
    }
    return written;
}

struct Copy {
    const char* from;  // in the archives folder
    const char* as;    // in the case's own folder
};

struct Case {
    const char* title;
    const char* archive;       // in the archives folder, or the name of a copy
    std::vector<Copy> copies;  // when given, the case reads copies in a folder of its own
    Run run;
    std::vector<std::string> transcript;
    std::vector<std::string> written;  // extraction only
};

// The names the library reports use the Windows separator; 表 is 0x95 0x5C in code page 932.
const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {"single archive, stored, extracted", "stored.rar", {}, {1},
         {"open 0", "header 0 readme.txt flags 0", "process 0", "header 0 data\\one.bin flags 0", "process 0",
          "header 10", "close 0"},
         {"data\\", "data\\one.bin same", "readme.txt same"}},
        {"single archive, compressed, extracted; a name with trail byte 0x5C", "compressed.rar", {}, {1},
         {"open 0", "header 0 readme.txt flags 0", "process 0", "header 0 \x95\x5C.txt flags 0", "process 0",
          "header 10", "close 0"},
         {"readme.txt same", "\x95\x5C.txt same"}},
        {"first volume of a set, check pass", "set.part1.rar", {}, {0},
         {"open 0", "header 0 data\\one.bin flags 2", "volume 1 set.part2.rar", "process 0",
          "header 0 data\\two.bin flags 2", "volume 1 set.part3.rar", "process 0", "header 10", "close 0"},
         {}},
        {"first volume of a set, extracted", "set.part1.rar", {}, {1},
         {"open 0", "header 0 data\\one.bin flags 2", "volume 1 set.part2.rar", "process 0",
          "header 0 data\\two.bin flags 2", "volume 1 set.part3.rar", "process 0", "header 10", "close 0"},
         {"data\\", "data\\one.bin same", "data\\two.bin same"}},
        // A later volume opened alone. Opened for listing, the library passes over
        // the entry that only goes on in it (flags 1) and reads an entry that
        // begins in it, on into the next volumes. Opened for extraction, it
        // reports the entry that goes on and fails to extract it.
        {"second volume alone, check pass", "set.part2.rar", {}, {0},
         {"open 0", "header 0 data\\two.bin flags 2", "volume 1 set.part3.rar", "process 0", "header 10", "close 0"},
         {}},
        {"second volume alone, extracted", "set.part2.rar", {}, {1},
         {"open 0", "header 0 data\\one.bin flags 1", "process 12", "close 0"},
         {}},
        {"third volume alone, check pass", "set.part3.rar", {}, {0}, {"open 0", "header 10", "close 0"}, {}},
        {"third volume alone, extracted", "set.part3.rar", {}, {1},
         {"open 0", "header 0 data\\two.bin flags 1", "process 12", "close 0"},
         {}},
        {"encrypted entry, right password", "encrypted.rar", {}, {1, nullptr, "tolva-entry"},
         {"open 0", "header 0 readme.txt flags 0", "process 0", "header 0 secret.txt flags 4", "process 0",
          "header 10", "close 0"},
         {"readme.txt same", "secret.txt same"}},
        {"encrypted entry, no password", "encrypted.rar", {}, {1},
         {"open 0", "header 0 readme.txt flags 0", "process 0", "header 0 secret.txt flags 4", "process 22",
          "close 0"},
         {"readme.txt same"}},
        {"encrypted entry, wrong password", "encrypted.rar", {}, {1, nullptr, "wrong"},
         {"open 0", "header 0 readme.txt flags 0", "process 0", "header 0 secret.txt flags 4", "process 24",
          "close 0"},
         {"readme.txt same"}},
        {"encrypted entry, check pass without a password", "encrypted.rar", {}, {0},
         {"open 0", "header 0 readme.txt flags 0", "process 0", "header 0 secret.txt flags 4", "process 0",
          "header 10", "close 0"},
         {}},
        {"encrypted headers, no password", "headers.rar", {}, {1}, {"open 0", "header 22", "close 0"}, {}},
        {"encrypted headers, no password, check pass", "headers.rar", {}, {0}, {"open 0", "header 22", "close 0"},
         {}},
        {"encrypted headers, wrong password", "headers.rar", {}, {1, "wrong"}, {"open 0", "header 24", "close 0"},
         {}},
        {"encrypted headers, right password", "headers.rar", {}, {1, "tolva-header"},
         {"open 0", "header 0 secret.txt flags 4", "process 0", "header 10", "close 0"},
         {"secret.txt same"}},
        {"truncated first volume alone, check pass", "trunc.rar", {{"trunc.rar", "trunc.rar"}}, {0},
         {"open 0", "header 0 data\\one.bin flags 2", "volume 0 urunc.rar", "process 15", "close 0"},
         {}},
        {"truncated first volume alone, extracted", "trunc.rar", {{"trunc.rar", "trunc.rar"}}, {1},
         {"open 0", "header 0 data\\one.bin flags 2", "process 12", "close 0"},
         {"data\\"}},
        {"set with its middle volume missing, check pass", "gap.part1.rar", {}, {0},
         {"open 0", "header 0 data\\one.bin flags 2", "volume 0 gap.part2.rar", "process 15", "close 0"},
         {}},
        {"set with its middle volume missing, extracted", "gap.part1.rar", {}, {1},
         {"open 0", "header 0 data\\one.bin flags 2", "volume 0 gap.part2.rar", "process 15", "close 0"},
         {"data\\"}},
        {"set copied under the old names, check pass", "Tolvatmp.rar",
         {{"set.part1.rar", "Tolvatmp.rar"}, {"set.part2.rar", "Tolvatmp.r00"}, {"set.part3.rar", "Tolvatmp.r01"}},
         {0},
         {"open 0", "header 0 data\\one.bin flags 2", "volume 1 Tolvatmp.r00", "process 0",
          "header 0 data\\two.bin flags 2", "volume 1 Tolvatmp.r01", "process 0", "header 10", "close 0"},
         {}},
    };
    return cases;
}

}  // namespace

TEST(RealUnrar, LoadsWithEveryEntryPointTheProgramLooksUp)
{
    RarLibrary rar;
    ASSERT_NE(nullptr, rar.module) << "realrar\\unrar.dll: build the tolva_realrar target";
    EXPECT_TRUE(rar.Complete());
    EXPECT_NE(nullptr, rar.Entry<void*>("RARSetProcessDataProc"));
}

TEST(RealUnrar, AnswersEveryCaseAsRecorded)
{
    RarLibrary rar;
    ASSERT_TRUE(rar.module && rar.Complete());
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.title);
        TempFolder copies;
        std::string archive = ArchiveFolder() + "\\" + c.archive;
        if (!c.copies.empty()) {
            for (const Copy& copy : c.copies) {
                ASSERT_TRUE(CopyFileA((ArchiveFolder() + "\\" + copy.from).c_str(), (copies / copy.as).c_str(), FALSE))
                    << copy.from;
            }
            archive = copies / c.archive;
        }
        TempFolder destination;
        EXPECT_EQ(c.transcript, Drive(rar, archive, c.run, destination.path()));
        EXPECT_EQ(c.written, Written(destination.path()));
    }
}
