#include "DlogTestFixture.h"

#include <map>
#include <thread>

namespace {

using CDlogThreadTest = CDlogTest;

TEST_F(CDlogThreadTest, LinesFromManyThreadsStayWholeAndInOrder)
{
    constexpr int kThreads = 8;
    constexpr int kLinesEach = 500;
    // Long enough that an unlocked write would be split.
    const std::string strPad(700, '.');
    OpenDestination();
    Dlog::StartCapture();
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < kThreads; ++t)
        vecThreads.emplace_back([t, &strPad] {
            for (int i = 0; i < kLinesEach; ++i)
                __dlog_print(LOG_ID_MAIN, DLOG_INFO, "MT", "t%d i%d %s end", t, i, strPad.c_str());
        });
    for (std::thread& thread : vecThreads)
        thread.join();

    std::map<int, int> mapNextIndex;
    std::vector<std::string> vecLines = WrittenLines();
    ASSERT_EQ(vecLines.size(), static_cast<size_t>(kThreads * kLinesEach));
    for (const std::string& strLine : vecLines) {
        int iThread = -1, iIndex = -1;
        ASSERT_EQ(std::sscanf(strLine.c_str(), (Prefix("I/MT") + "t%d i%d").c_str(), &iThread, &iIndex), 2);
        ASSERT_EQ(strLine, Prefix("I/MT") + "t" + std::to_string(iThread) + " i" + std::to_string(iIndex) + " " +
                               strPad + " end");
        EXPECT_EQ(iIndex, mapNextIndex[iThread]++) << strLine;
    }
    EXPECT_EQ(mapNextIndex.size(), static_cast<size_t>(kThreads));
    EXPECT_EQ(Dlog::TakeCaptured().size(), static_cast<size_t>(kThreads * kLinesEach));
}

}  // namespace
