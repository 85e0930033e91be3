// The log service's line form, refusals and silence, lines of forked and
// concurrent writers, and the filters' and colour's forms. The capture's
// lines as scripts see them, and kite's --log with its filters and colour:
// tests/host/kite_globals.test.js and the kite.run log tests.
#include <DlogSink.h>
#include <dlog.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

// Leaves the process-wide service as every test found it: no destination,
// no capture.
class DlogTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        Reset();
        if (m_pFile != nullptr)
            std::fclose(m_pFile);
    }
    static void Reset()
    {
        Dlog::SetDestination(nullptr);
        Dlog::SetFilter(Dlog::CLogFilter());
        Dlog::SetKeepColour(true);
        Dlog::StopCapture();
        Dlog::TakeCaptured();
    }

    std::FILE* OpenDestination()
    {
        m_pFile = std::tmpfile();
        Dlog::SetDestination(m_pFile);
        return m_pFile;
    }

    // The lines written to the destination so far; each must end with a newline.
    std::vector<std::string> WrittenLines()
    {
        std::fflush(m_pFile);
        std::rewind(m_pFile);
        std::string strAll;
        for (int c; (c = std::fgetc(m_pFile)) != EOF;)
            strAll += static_cast<char>(c);
        EXPECT_TRUE(strAll.empty() || strAll.back() == '\n') << "unterminated: " << strAll;
        std::vector<std::string> vecLines;
        std::istringstream in(strAll);
        for (std::string strLine; std::getline(in, strLine);)
            vecLines.push_back(strLine);
        return vecLines;
    }

    // "P/TAG(PID): " of this process.
    static std::string Prefix(const std::string& strLetterSlashTag)
    {
        return strLetterSlashTag + "(" + std::to_string(getpid()) + "): ";
    }

    std::FILE* m_pFile = nullptr;
};

TEST_F(DlogTest, EachPriorityWritesItsLetterTagPidAndWholeMessage)
{
    OpenDestination();
    const char* const pszLetters = "VDIWEF";
    for (int iPriority = DLOG_VERBOSE; iPriority <= DLOG_FATAL; ++iPriority)
        EXPECT_EQ(__dlog_print(LOG_ID_MAIN, iPriority, "T", "n=%d s=%s", iPriority, "x"), 7) << iPriority;
    // A null tag is written empty; a message longer than a line buffer is not cut.
    std::string strLong(5000, 'z');
    EXPECT_EQ(__dlog_print(LOG_ID_SYSTEM, DLOG_WARN, nullptr, "%s", "plain"), 5);
    EXPECT_EQ(__dlog_print(LOG_ID_APPS, DLOG_ERROR, "TAG/SUB", "%s!", strLong.c_str()), 5001);
    std::vector<std::string> vecLines = WrittenLines();
    ASSERT_EQ(vecLines.size(), 8u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(vecLines[i], Prefix(std::string(1, pszLetters[i]) + "/T") + "n=" + std::to_string(i + 2) + " s=x");
    EXPECT_EQ(vecLines[6], Prefix("W/") + "plain");
    EXPECT_EQ(vecLines[7], Prefix("E/TAG/SUB") + strLong + "!");
}

TEST_F(DlogTest, BadArgumentsAreRefusedEvenWithNobodyListening)
{
    const char* pszNoFormat = nullptr;
    const std::tuple<int, int, const char*> aBad[] = {
        {LOG_ID_MAIN, DLOG_DEFAULT, "m"}, {LOG_ID_MAIN, DLOG_SILENT, "m"}, {LOG_ID_MAX, DLOG_WARN, "m"},
        {-1, DLOG_WARN, "m"},             {LOG_ID_MAIN, DLOG_WARN, pszNoFormat},
    };
    for (bool bListening : {false, true}) {
        if (bListening) {
            OpenDestination();
            Dlog::StartCapture();
        }
        for (const auto& [iLogId, iPriority, pszFormat] : aBad)
            EXPECT_LT(__dlog_print(static_cast<log_id_t>(iLogId), iPriority, "T", pszFormat), 0)
                << iLogId << " " << iPriority << (bListening ? " listening" : " silent");
    }
    EXPECT_TRUE(WrittenLines().empty());
    EXPECT_TRUE(Dlog::TakeCaptured().empty());
}

TEST_F(DlogTest, WithNobodyListeningNothingIsFormatted)
{
    // %n would store through the pointer if the message were formatted.
    int iWritten = -1;
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "abc%n", &iWritten), 0);
    EXPECT_EQ(iWritten, -1);
    // Taking the destination away, or stopping a capture, silences the service again.
    std::FILE* pFile = OpenDestination();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "one"), 3);
    Dlog::SetDestination(nullptr);
    Dlog::StartCapture();
    Dlog::StopCapture();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_WARN, "T", "two"), 0);
    Dlog::SetDestination(pFile);
    // A line the destination's filter drops is heard by a capture alone (what
    // each gets: the kite.run.log_filter_* and log_colour_* tests).
    Dlog::CLogFilter filter;
    std::string strError;
    ASSERT_TRUE(filter.Parse("A:W", strError));
    Dlog::SetFilter(filter);
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_ERROR, "B", "dropped"), 0);
    Dlog::StartCapture();
    EXPECT_EQ(__dlog_print(LOG_ID_MAIN, DLOG_ERROR, "B", "captured"), 8);
    EXPECT_EQ(WrittenLines(), std::vector<std::string>{Prefix("W/T") + "one"});
}

// The process id of a line is the writer's, also in a forked child.
TEST_F(DlogTest, ALinesProcessIdIsTheWritersAlsoAfterAFork)
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

// The plug-in logs from the player's threads and the script's at once.
TEST_F(DlogTest, LinesFromManyThreadsStayWholeAndInOrder)
{
    constexpr int kThreads = 8;
    constexpr int kLinesEach = 300;
    const std::string strPad(700, '.');  // long enough that an unlocked write would be split
    OpenDestination();
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
}

// Filters in the form of the platform's log reader, against one line of each
// kind; nullptr stands for no filter at all.
TEST(LogFilterTest, TakesTheLinesItsFiltersName)
{
    const struct {
        int m_iPriority;
        const char* m_pszTag;
        const char* m_pszName;
    } LINES[] = {{DLOG_DEBUG, "A", "D/A"},
                 {DLOG_WARN, "A", "W/A"},
                 {DLOG_INFO, "B/SUB", "I/B/SUB"},
                 {DLOG_ERROR, "", "E/"},
                 {DLOG_FATAL, "C", "F/C"}};
    const struct {
        const char* m_pszFilters;
        const char* m_pszTaken;
    } ROWS[] = {
        {nullptr, "D/A W/A I/B/SUB E/ F/C"},
        {"A:W", "W/A"},
        {"A", "D/A W/A"},
        {"*:E", "E/ F/C"},
        {"*", "D/A W/A I/B/SUB E/ F/C"},
        {"A:w B/SUB:I", "W/A I/B/SUB"},
        {"  A:D\t*:F ", "D/A W/A F/C"},
        {"A:S *:V", "I/B/SUB E/ F/C"},
        {"A:V A:E", ""},
        {"a:W", ""},
        {"C:f", "F/C"},
    };
    for (const auto& row : ROWS) {
        Dlog::CLogFilter filter;
        std::string strError;
        if (row.m_pszFilters != nullptr) {
            ASSERT_TRUE(filter.Parse(row.m_pszFilters, strError)) << row.m_pszFilters << ": " << strError;
        }
        std::string strTaken;
        for (const auto& line : LINES) {
            if (filter.Takes(line.m_iPriority, line.m_pszTag))
                strTaken += (strTaken.empty() ? "" : " ") + std::string(line.m_pszName);
        }
        EXPECT_EQ(strTaken, row.m_pszTaken) << (row.m_pszFilters != nullptr ? row.m_pszFilters : "no filter");
    }
}

TEST(LogFilterTest, RefusesUnknownFormsAndPriorities)
{
    const struct {
        const char* m_pszFilters;
        const char* m_pszError;
    } ROWS[] = {
        {"", "no filter given"},
        {" \t ", "no filter given"},
        {":W", "unknown filter ':W': a filter is TAG:P, TAG, *:P or *"},
        {"A:", "unknown filter 'A:': a filter is TAG:P, TAG, *:P or *"},
        {"A:W B:W:X", "unknown filter 'B:W:X': a filter is TAG:P, TAG, *:P or *"},
        {"A:Q", "unknown priority 'Q' in 'A:Q': one of V D I W E F S"},
        {"*:WE", "unknown priority 'WE' in '*:WE': one of V D I W E F S"},
        {"A:3", "unknown priority '3' in 'A:3': one of V D I W E F S"},
    };
    for (const auto& row : ROWS) {
        Dlog::CLogFilter filter;
        std::string strError;
        EXPECT_FALSE(filter.Parse(row.m_pszFilters, strError)) << row.m_pszFilters;
        EXPECT_EQ(strError, row.m_pszError) << row.m_pszFilters;
    }
}

TEST(LogFilterTest, WithoutColourDropsColourEscapesOnly)
{
    const struct {
        const char* m_pszText;
        const char* m_pszWithout;
    } ROWS[] = {
        {"\x1b[33m[f:1] ENTER!!!\x1b[0m", "[f:1] ENTER!!!"},
        {"a\x1b[1;31mb\x1b[mc", "abc"},
        {"plain", "plain"},
        {"\x1b[2J cleared", "\x1b[2J cleared"},
        {"cut \x1b[31", "cut \x1b[31"},
        {"lone \x1b escape", "lone \x1b escape"},
    };
    for (const auto& row : ROWS)
        EXPECT_EQ(Dlog::WithoutColour(row.m_pszText), row.m_pszWithout) << row.m_pszText;
}

}  // namespace
