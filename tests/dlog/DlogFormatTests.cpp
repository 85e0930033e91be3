#include "DlogTestFixture.h"

namespace {

using CDlogFormatTest = CDlogTest;

TEST_F(CDlogFormatTest, EachPriorityWritesItsLetterTagPidAndWholeMessage)
{
    OpenDestination();
    for (int iPriority : {DLOG_VERBOSE, DLOG_DEBUG, DLOG_INFO, DLOG_WARN, DLOG_ERROR, DLOG_FATAL})
        EXPECT_EQ(__dlog_print(LOG_ID_MAIN, iPriority, "T", "n=%d s=%s", 7, "x"), 7);
    // A null tag is written empty; a long message is not cut.
    std::string strLong(5000, 'z');
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, nullptr, "%s", "plain"), 5);
    EXPECT_EQ(__dlog_print(LOG_ID_APPS, DLOG_ERROR, "TAG/SUB", "%s!", strLong.c_str()), 5001);
    std::vector<std::string> vecLines = WrittenLines();
    ASSERT_EQ(vecLines.size(), 8u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(vecLines[i], Prefix(std::string(1, "VDIWEF"[i]) + "/T") + "n=7 s=x");
    EXPECT_EQ(vecLines[6], Prefix("W/") + "plain");
    EXPECT_EQ(vecLines[7], Prefix("E/TAG/SUB") + strLong + "!");
}

TEST_F(CDlogFormatTest, BadArgumentsAreRefusedAndWriteNothing)
{
    OpenDestination();
    Dlog::StartCapture();
    EXPECT_LT(__dlog_print(LOG_ID_MAIN, DLOG_DEFAULT, "T", "m"), 0);
    EXPECT_LT(__dlog_print(LOG_ID_MAIN, DLOG_SILENT, "T", "m"), 0);
    EXPECT_LT(__dlog_print(LOG_ID_MAIN, -1, "T", "m"), 0);
    EXPECT_LT(__dlog_print(LOG_ID_MAX, DLOG_WARN, "T", "m"), 0);
    EXPECT_LT(__dlog_print(static_cast<log_id_t>(-1), DLOG_WARN, "T", "m"), 0);
    const char* pszNoFormat = nullptr;
    EXPECT_LT(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", pszNoFormat), 0);
    EXPECT_TRUE(WrittenLines().empty());
    EXPECT_TRUE(Dlog::TakeCaptured().empty());
}

TEST_F(CDlogFormatTest, WithNobodyListeningNothingIsFormatted)
{
    // %n would store through the pointer if the message were formatted.
    int iWritten = -1;
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "abc%n", &iWritten), 0);
    EXPECT_EQ(iWritten, -1);
    // Refusals still win over silence.
    EXPECT_LT(__dlog_print(LOG_ID_MAIN, 9, "T", "abc"), 0);

    // Removing the destination silences the service again.
    std::FILE* pFile = OpenDestination();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "one"), 3);
    Dlog::SetDestination(nullptr);
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "two"), 0);
    Dlog::SetDestination(pFile);
    EXPECT_EQ(WrittenLines(), std::vector<std::string>{Prefix("W/T") + "one"});
}

}  // namespace
