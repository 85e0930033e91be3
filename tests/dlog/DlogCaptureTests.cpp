#include "DlogTestFixture.h"

#include <sys/wait.h>

#include <map>
#include <thread>
#include <tuple>

namespace {

using CDlogCaptureTest = CDlogTest;

TEST_F(CDlogCaptureTest, CapturesPriorityTagAndFormattedTextBesideTheDestination)
{
    OpenDestination();
    Dlog::StartCapture();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_DEBUG, "A", "%s=%d", "k", 12), 4);
    EXPECT_EQ(__dlog_print(LOG_ID_SYSTEM, DLOG_ERROR, nullptr, "bare"), 4);
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_INFO, "", "empty tag"), 9);
    EXPECT_EQ(WrittenLines().size(), 3u);

    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    ASSERT_EQ(vecLines.size(), 3u);
    auto tied = [](const Dlog::CLogLine& line) {
        return std::tie(line.m_iPriority, line.m_bHasTag, line.m_strTag, line.m_strText);
    };
    EXPECT_EQ(tied(vecLines[0]), std::make_tuple(DLOG_DEBUG, true, "A", "k=12"));
    EXPECT_EQ(tied(vecLines[1]), std::make_tuple(DLOG_ERROR, false, "", "bare"));
    EXPECT_EQ(tied(vecLines[2]), std::make_tuple(DLOG_INFO, true, "", "empty tag"));  // an empty tag is a tag
    EXPECT_TRUE(Dlog::TakeCaptured().empty());  // taking empties the capture
}

TEST_F(CDlogCaptureTest, StartingDropsWhatWasNotTakenAndStoppingKeepsIt)
{
    Dlog::StartCapture();
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "dropped");
    Dlog::StartCapture();
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "kept");
    Dlog::StopCapture();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "lost"), 0);
    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_EQ(vecLines[0].m_strText, "kept");
}

using CDlogPidTest = CDlogTest;

// The process id of a line is the writer's, also in a forked child.
TEST_F(CDlogPidTest, ALinesProcessIdIsTheWritersAlsoAfterAFork)
{
    std::FILE* pFile = OpenDestination();
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "parent");
    std::fflush(pFile);
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "child");
        std::fflush(pFile);
        _exit(0);
    }
    int iStatus = 0;
    ASSERT_EQ(waitpid(child, &iStatus, 0), child);
    ASSERT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0);
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "parent again");
    EXPECT_EQ(WrittenLines(), (std::vector<std::string>{Prefix("W/T") + "parent",
                                                        "W/T(" + std::to_string(child) + "): child",
                                                        Prefix("W/T") + "parent again"}));
}

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
