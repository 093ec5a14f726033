#include "tests/support/samples.h"

#include <windows.h>

using namespace std::string_literals;

namespace {

std::string At(int offset, const std::string& pattern, size_t size = 160)
{
    std::string bytes(size, '\x00');
    bytes.replace(offset, pattern.size(), pattern);
    return bytes;
}

std::string Field(const std::string& text, size_t width)
{
    std::string field = text.substr(0, width);
    field.resize(width, '\x00');
    return field;
}

}  // namespace

std::string GameBoyRom(const std::string& titleField)
{
    std::string rom(0x8000, '\x00');
    rom.replace(0x130, 4, "\xBB\xB9\x33\x3E");
    rom.replace(0x134, 14, Field(titleField, 14));
    return rom;
}

std::string SmdRom(const std::string& system, const std::string& titleField)
{
    // ROM addresses 0x100..0x19F hold the header; an SMD file keeps them in
    // its first 16 KB block after a 512-byte file header, odd bytes in the
    // first half of the block and even bytes in the second.
    std::string header = Field(system, 32) + Field(titleField, 48) + std::string(80, ' ');
    std::string file(512 + 16384, '\x00');
    for (int i = 0; i < 80; ++i) {
        file[640 + i] = header[2 * i + 1];
        file[8832 + i] = header[2 * i];
    }
    return file;
}

std::string Mp3WithTag(const std::string& titleField, const std::string& artistField)
{
    std::string file(4096, '\xFF');
    file += "TAG" + Field(titleField, 30) + Field(artistField, 30) + std::string(65, '\x00');
    return file;
}

const std::vector<Sample>& AllSamples()
{
    static const std::vector<Sample> samples = {
        {"archive.lzh", 1, At(2, "-lh5-"), "Unlha32.dllがありません"},
        {"archive.zip", 2, At(0, "PK\x03\x04"), "Unzip32.dllがありません"},
        {"archive.rar", 3, At(0, "Rar!\x1A\x07\x00"s, 7) + std::string(100, '\x00'), "Unrar.dllがありません"},
        {"setup.exe", 4, At(0, "MZ"), "ｱﾌﾟﾘｹｰｼｮﾝ"},
        {"picture.bmp", 5, At(0, "BM"), "BMP: ﾋﾞｯﾄﾏｯﾌﾟ ｲﾒｰｼﾞ"},
        {"anim.gif", 6, At(0, "GIF89a"), "GIF: GIF ｲﾒｰｼﾞ"},
        {"photo.jpg", 7, At(0, "\xFF\xD8\xFF\xE0\x00\x10JFIF"s), "JPG: JPEG ｲﾒｰｼﾞ"},
        {"image.mag", 8, At(0, "MAKI02  "), "MAG: MAG ｲﾒｰｼﾞ"},
        {"image.dpx", 9, At(0, "DPX\x0A D-Pixed image"), "DPX: D-Pixed ｲﾒｰｼﾞ"},
        {"palette.dpf", 10, At(0, "PF\x0A D-Pixed ver."), "DPF: D-Pixed ﾊﾟﾚｯﾄ"},
        {"image.zim", 11, At(106, "Z'sSTAFF KID98"), "ZIM: KID98 ｲﾒｰｼﾞ"},
        {"song.mid", 12, At(0, "MThd"), "MID: MIDI ｼｰｹﾝｽ"},
        {"song.rcp", 13, At(0, "RCM-PC98V2.0"), "RCP: ﾚｺﾝﾎﾟｰｻﾞ ｼｰｹﾝｽ"},
        {"voice.wav", 14, At(0, "RIFF\x24\x08\x00\x00WAVEfmt "s), "WAV: WAVE ｻｳﾝﾄﾞ"},
        {"music.spc", 15, At(0, "SNES-SPC700"), "SPC: SNES ｻｳﾝﾄﾞ"},
        {"music.vqf", 16, At(0, "TWIN97012000"), "VQF: VQF ｻｳﾝﾄﾞ"},
        {"game.nes", 17, At(0, "NES\x1A"), "NES: NES ﾛﾑｲﾒｰｼﾞ"},
        {"state.zst", 18, At(0, "ZSNES Save State File"), "ZSNES ﾘｱﾙﾀｲﾑｾｰﾌﾞ"},
        {"state.gs0", 19, At(0, "GST"), "Genecyst ﾘｱﾙﾀｲﾑｾｰﾌﾞ"},
        {"comment.htm", 20, At(0, "<!-- x -->"), "HTML: HTML"},
        {"upper.htm", 21, At(0, "<HTML>"), "HTML: HTML"},
        {"lower.htm", 22, At(0, "<html>"), "HTML: HTML"},
        {"link.url", 23, At(0, "[InternetShortcut]\r\nURL=x"), "URL: ｲﾝﾀｰﾈｯﾄ ｼｮｰﾄｶｯﾄ"},
        {"tetris.gb", 128, GameBoyRom("TETRIS"), "GB: Gameboy ﾛﾑｲﾒｰｼﾞ (TETRIS)"},
        {"sonic.smd", 129, SmdRom("SEGA GENESIS", "SONIC THE HEDGEHOG"), "SMD: GENESIS ﾛﾑｲﾒｰｼﾞ (SONIC THE HEDGEHOG)"},
        {"track.mp3", 130, Mp3WithTag("Title", "Artist"), "MP3: MPEG layer3 ｻｳﾝﾄﾞ (Artist - Title)"},
        {"notes.txt", -1, "plain text, nothing known\r\n", "未知のフォーマットです"},
    };
    return samples;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}
