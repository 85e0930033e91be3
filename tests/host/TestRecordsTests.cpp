// How kite test reads a file's run from one pipe: output and records in the
// order they were written, however the pipe cuts them.
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "testing/TestRecords.h"

namespace {

// What the reader saw, in order: "out:" and the text, or "rec:" and the
// fields joined by '|'; neighbouring pieces of output are joined.
std::vector<std::string> Read(const std::string& strStream, std::size_t uPiece)
{
    std::vector<std::string> aSeen;
    Kite::CRecordReader reader(
        [&aSeen](const std::string& strText) {
            if (!aSeen.empty() && aSeen.back().compare(0, 4, "out:") == 0)
                aSeen.back() += strText;
            else
                aSeen.push_back("out:" + strText);
        },
        [&aSeen](const std::vector<std::string>& aFields) {
            std::string strJoined = "rec:";
            for (std::size_t i = 0; i < aFields.size(); ++i)
                strJoined += (i > 0 ? "|" : "") + aFields[i];
            aSeen.push_back(strJoined);
        });
    for (std::size_t i = 0; i < strStream.size(); i += uPiece)
        reader.Feed(strStream.data() + i, std::min(uPiece, strStream.size() - i));
    reader.Finish();
    return aSeen;
}

std::string Frames(const std::vector<std::string>& aFields)
{
    std::string strOut;
    for (const std::string& strFrame : Kite::FrameRecord(aFields))
        strOut += strFrame;
    return strOut;
}

TEST(TestRecordsTest, OutputAndRecordsComeBackInOrder)
{
    const std::string LONG(9000, 'x');
    struct {
        const char* m_pszCase;
        std::string m_strStream;
        std::vector<std::string> m_aSeen;
    } const ROWS[] = {
        {"fields with tabs, newlines and backslashes", Frames({"fail", "1", "a\tb\nc\\n"}),
         {"rec:fail|1|a\tb\nc\\n"}},
        {"output around and between records, a line left open",
         "top\n" + Frames({"start", "0", "t"}) + "in the test" + Frames({"pass", "0", "3"}) + "after\n",
         {"out:top\n", "rec:start|0|t", "out:in the test", "rec:pass|0|3", "out:after\n"}},
        {"a record of several frames", Frames({"fail", LONG + "\n" + LONG}), {"rec:fail|" + LONG + "\n" + LONG}},
        {"a marker's first bytes that are only output", std::string("\x1e\x1fkite") + "!\n", {"out:\x1e\x1fkite!\n"}},
        {"output the pipe ends in", "no newline", {"out:no newline"}},
    };
    for (const auto& row : ROWS) {
        for (std::size_t uPiece : {std::size_t(1), std::size_t(7), std::size_t(65536)})
            EXPECT_EQ(row.m_aSeen, Read(row.m_strStream, uPiece)) << row.m_pszCase << ", in pieces of " << uPiece;
    }
}

TEST(TestRecordsTest, EveryFrameFitsOneAtomicWrite)
{
    for (const std::string& strFrame : Kite::FrameRecord({"fail", std::string(20000, '\n')}))
        EXPECT_LE(strFrame.size(), static_cast<std::size_t>(PIPE_BUF));
}

}  // namespace
