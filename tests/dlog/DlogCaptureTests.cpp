#include "DlogTestFixture.h"

#include <dlog.h>

namespace {

using CDlogCaptureTest = CDlogTest;

TEST_F(CDlogCaptureTest, CapturesPriorityTagAndFormattedText)
{
    Dlog::StartCapture();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_DEBUG, "A", "%s=%d", "k", 12), 4);
    EXPECT_EQ(__dlog_print(LOG_ID_SYSTEM, DLOG_ERROR, nullptr, "bare"), 4);
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_INFO, "", "empty tag"), 9);

    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    ASSERT_EQ(vecLines.size(), 3u);
    EXPECT_EQ(vecLines[0].m_iPriority, DLOG_DEBUG);
    EXPECT_TRUE(vecLines[0].m_bHasTag);
    EXPECT_EQ(vecLines[0].m_strTag, "A");
    EXPECT_EQ(vecLines[0].m_strText, "k=12");
    EXPECT_EQ(vecLines[1].m_iPriority, DLOG_ERROR);
    EXPECT_FALSE(vecLines[1].m_bHasTag);
    EXPECT_EQ(vecLines[1].m_strTag, "");
    EXPECT_EQ(vecLines[1].m_strText, "bare");
    EXPECT_TRUE(vecLines[2].m_bHasTag);  // an empty tag is still a tag
    EXPECT_EQ(vecLines[2].m_strTag, "");

    // Taking empties the capture.
    EXPECT_TRUE(Dlog::TakeCaptured().empty());
}

TEST_F(CDlogCaptureTest, CaptureWorksBesideTheDestination)
{
    OpenDestination();
    Dlog::StartCapture();
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "both");
    EXPECT_EQ(ReadBackLines().size(), 1u);
    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_EQ(vecLines[0].m_strText, "both");
}

TEST_F(CDlogCaptureTest, StoppedCaptureKeepsWhatItHadAndTakesNoMore)
{
    Dlog::StartCapture();
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "kept");
    Dlog::StopCapture();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "lost"), 0);

    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_EQ(vecLines[0].m_strText, "kept");
}

TEST_F(CDlogCaptureTest, StartingAgainDropsLinesNotTaken)
{
    Dlog::StartCapture();
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "old");
    Dlog::StartCapture();
    __dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "new");
    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_EQ(vecLines[0].m_strText, "new");
}

}  // namespace
