#include "DlogTestFixture.h"

#include <dlog.h>
#include <unistd.h>

namespace {

std::string Prefix(const char* pszLetterSlashTag)
{
    return std::string(pszLetterSlashTag) + "(" + std::to_string(getpid()) + "): ";
}

using CDlogFormatTest = CDlogTest;

TEST_F(CDlogFormatTest, EachPriorityWritesItsLetterTagPidAndMessage)
{
    OpenDestination();
    const struct {
        int iPriority;
        const char* pszPrefix;
    } aCases[] = {{DLOG_VERBOSE, "V/T"}, {DLOG_DEBUG, "D/T"}, {DLOG_INFO, "I/T"},
                  {DLOG_WARN, "W/T"},    {DLOG_ERROR, "E/T"}, {DLOG_FATAL, "F/T"}};
    for (const auto& c : aCases)
        EXPECT_EQ(__dlog_print(LOG_ID_MAIN, c.iPriority, "T", "n=%d s=%s", 7, "x"), 7);

    std::vector<std::string> vecLines = ReadBackLines();
    ASSERT_EQ(vecLines.size(), 6u);
    for (size_t i = 0; i < vecLines.size(); ++i)
        EXPECT_EQ(vecLines[i], Prefix(aCases[i].pszPrefix) + "n=7 s=x");
}

TEST_F(CDlogFormatTest, NullTagIsWrittenEmptyAndLongMessagesAreWhole)
{
    OpenDestination();
    std::string strLong(5000, 'z');
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, nullptr, "%s", "plain"), 5);
    EXPECT_EQ(__dlog_print(LOG_ID_APPS, DLOG_ERROR, "TAG/SUB", "%s!", strLong.c_str()), 5001);

    std::vector<std::string> vecLines = ReadBackLines();
    ASSERT_EQ(vecLines.size(), 2u);
    EXPECT_EQ(vecLines[0], Prefix("W/") + "plain");
    EXPECT_EQ(vecLines[1], Prefix("E/TAG/SUB") + strLong + "!");
}

TEST_F(CDlogFormatTest, FormatLineMatchesWrittenForm)
{
    Dlog::CLogLine line{DLOG_INFO, true, "WRT", "hello"};
    EXPECT_EQ(Dlog::FormatLine(line, 42), "I/WRT(42): hello");
    Dlog::CLogLine noTag{DLOG_FATAL, false, "", "x"};
    EXPECT_EQ(Dlog::FormatLine(noTag, 1), "F/(1): x");
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

    EXPECT_TRUE(ReadBackLines().empty());
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
    std::vector<std::string> vecLines = ReadBackLines();
    ASSERT_EQ(vecLines.size(), 1u);
    EXPECT_EQ(vecLines[0], Prefix("W/T") + "one");
}

}  // namespace
