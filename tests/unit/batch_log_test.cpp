#include "extract/batch_log.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

typedef std::vector<std::pair<std::string, std::string>> Rows;

void Collect(void* context, const char* name, const char* message)
{
    static_cast<Rows*>(context)->emplace_back(name, message);
}

Rows Walk()
{
    Rows rows;
    const int count = WalkBatchLog(Collect, &rows);
    EXPECT_EQ(static_cast<int>(rows.size()), count);
    return rows;
}

}  // namespace

TEST(BatchLog, SegmentsBecomeRows)
{
    ClearBatchLog();
    LogFileName("C:\\in\\one.zip");
    LogRow("A");
    LogText("B-");
    LogRow("end");
    LogFileName("C:\\in\\two.zip");
    LogFileName("three.zip");  // a name without a message is replaced by the next one
    LogRow("C");
    EXPECT_EQ((Rows{{"one.zip", "A"}, {"", "B-end"}, {"three.zip", "C"}}), Walk());
}

TEST(BatchLog, RestartThrowsAwayOnlyTheTextSinceTheLastMarker)
{
    ClearBatchLog();
    LogFileName("name");
    LogText("X");
    LogRestart();
    LogRow("Y");
    EXPECT_EQ((Rows{{"name", "Y"}}), Walk());
}

TEST(BatchLog, EdgeShapes)
{
    ClearBatchLog();
    EXPECT_EQ(Rows{}, Walk()) << "an empty log has no rows";

    ClearBatchLog();
    LogFileName("a");
    LogFileName("b");
    EXPECT_EQ(Rows{}, Walk()) << "names alone give no rows";

    ClearBatchLog();
    LogRow("orphan");
    LogText("never ended");
    EXPECT_EQ((Rows{{"", "orphan"}}), Walk());
}

TEST(BatchLog, AFullLogSaysThatMessagesWereLeftOut)
{
    ClearBatchLog();
    Rows written;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "archive-" + std::to_string(i) + ".zip";
        LogFileName(("C:\\in\\" + name).c_str());
        LogText("Unlha32.dll");
        LogRow("がありません");
        written.emplace_back(name, "Unlha32.dllがありません");
    }
    EXPECT_LT(std::strlen(BatchLogText()), static_cast<size_t>(kBatchLogSize));
    const Rows rows = Walk();
    ASSERT_GE(rows.size(), 2u);
    ASSERT_LT(rows.size(), written.size());
    const Rows kept(rows.begin(), rows.end() - 1);
    EXPECT_EQ(Rows(written.begin(), written.begin() + kept.size()), kept) << "whole rows in order before the cut";
    EXPECT_EQ((std::make_pair(std::string(""), std::string(kLogOmittedText))), rows.back());
}

TEST(BatchLog, NothingCutMeansNoNotice)
{
    ClearBatchLog();
    LogFileName("x");
    LogRow("y");
    EXPECT_EQ((Rows{{"x", "y"}}), Walk());
}
