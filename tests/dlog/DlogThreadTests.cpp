#include "DlogTestFixture.h"

#include <dlog.h>
#include <unistd.h>

#include <map>
#include <thread>

namespace {

using CDlogThreadTest = CDlogTest;

TEST_F(CDlogThreadTest, LinesFromManyThreadsStayWhole)
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

    const std::string strPrefix = "I/MT(" + std::to_string(getpid()) + "): t";
    std::map<int, int> mapNextIndex;
    std::vector<std::string> vecLines = ReadBackLines();
    ASSERT_EQ(vecLines.size(), static_cast<size_t>(kThreads * kLinesEach));
    for (const std::string& strLine : vecLines) {
        ASSERT_EQ(strLine.compare(0, strPrefix.size(), strPrefix), 0) << strLine;
        int iThread = -1, iIndex = -1;
        ASSERT_EQ(std::sscanf(strLine.c_str() + strPrefix.size(), "%d i%d", &iThread, &iIndex), 2);
        std::string strTail = " " + strPad + " end";
        ASSERT_EQ(strLine.substr(strLine.size() - strTail.size()), strTail);
        // Each thread's own lines keep their order.
        EXPECT_EQ(iIndex, mapNextIndex[iThread]++) << strLine;
    }
    EXPECT_EQ(mapNextIndex.size(), static_cast<size_t>(kThreads));
    EXPECT_EQ(Dlog::TakeCaptured().size(), static_cast<size_t>(kThreads * kLinesEach));
}

}  // namespace
