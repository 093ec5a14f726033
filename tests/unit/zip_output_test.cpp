#include "extract/zip_output.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_entries;
void Collect(char* name) { g_entries.push_back(name); }

std::vector<std::string> Counted(std::string output)
{
    g_entries.clear();
    output.resize(output.size() + 1);
    CountReportedEntries(&output[0], static_cast<int>(output.size()), Collect);
    return g_entries;
}

std::string Shown(const char* entry) { return entry != nullptr ? entry : "(none)"; }

}  // namespace

TEST(ZipOutput, ReportLinesAndTheirNames)
{
    struct Case { std::string output; std::vector<std::string> entries; };
    const Case cases[] = {
        {"  inflating: C:\\out/dir/sub/a.lzh\r\n", {"dir/sub/a.lzh"}},
        {" extracting: C:\\out\\a.txt\n", {" C:\\out\\a.txt"}},            // no '/': all from byte 12
        {"Archive:  x.zip\n  inflating: D:\\o/a\n\n  inflating: D:\\o/b", {"a", "b"}},
        {"12345678ing:", {""}},                                              // 12 bytes: counted
        {"1234567ing:", {}},                                                 // 11 bytes: not
        {"\r\n\r\n", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.entries, Counted(c.output)) << c.output;
}

TEST(ZipOutput, PrintedPiecesAssembleIntoLines)
{
    char output[64] = "";
    ResetProgressLine();
    EXPECT_EQ("(none)", Shown(TakePrintedText("  inflat", 8, output, sizeof output)));
    EXPECT_EQ("", Shown(TakePrintedText("ing:", 4, output, sizeof output)));
    EXPECT_EQ(" C:\\o", Shown(TakePrintedText(" C:\\o", 5, output, sizeof output)));
    EXPECT_EQ("a/b", Shown(TakePrintedText("/a/b", 4, output, sizeof output)));
    EXPECT_EQ("(none)", Shown(TakePrintedText("\r\n  infl", 8, output, sizeof output)));
    EXPECT_STREQ("  inflating: C:\\o/a/b\r\n  infl", output);
}

TEST(ZipOutput, PiecesAreReadOnlyUpToTheirCountAndTheOutputStaysInside)
{
    char output[16] = "";
    ResetProgressLine();
    const char piece[] = {'a', 'b', 'c', 'X', 'X'};  // no terminator within the count
    TakePrintedText(piece, 3, output, sizeof output);
    EXPECT_STREQ("abc", output);
    TakePrintedText("0123456789ABCDEFGHIJ", 20, output, sizeof output);
    EXPECT_STREQ("abc0123456789AB", output) << "cut at the buffer, still terminated";
    TakePrintedText("more", 4, output, sizeof output);
    EXPECT_EQ(15u, std::strlen(output));
}

TEST(ZipOutput, AnOverlongLineKeepsItsFirst323BytesForTheEntryLine)
{
    std::vector<char> output(20000, 0);
    ResetProgressLine();
    const std::string line = "  inflating: C:\\o/" + std::string(400, 'n');
    const std::string shown = Shown(TakePrintedText(line.c_str(), line.size(), output.data(), output.size()));
    EXPECT_EQ(std::string(323 - 18, 'n'), shown);
    EXPECT_EQ(line, std::string(output.data())) << "the output copy is not cut at 323";
}

TEST(ZipOutput, AFullBufferWithoutTerminatorIsCountedInside)
{
    std::string output;
    while (output.size() < 100) output += "  inflating: C:\\o/file\n";
    output.resize(100);  // the library filled every byte, no terminator
    output.back() = 'Z';
    std::vector<char> buffer(output.begin(), output.end());
    buffer.push_back('!');  // a guard byte outside the buffer that must not be read as text
    g_entries.clear();
    CountReportedEntries(buffer.data(), 100, Collect);
    EXPECT_EQ(4u, g_entries.size()) << "four whole lines; the cut fifth is no report";
    EXPECT_EQ('!', buffer[100]);
}
