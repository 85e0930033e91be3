#include "DlogTestFixture.h"

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

}  // namespace
