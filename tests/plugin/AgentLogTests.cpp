// Whole log lines of a constructor, a command with its failure line and a
// destructor: priority, tag, frame (file, function, line of the call, thread
// id) and payload, in order. The scripts check the payloads of every path and
// that each frame names the same function and line twice; here the file and
// line must be the right ones. The line is looked up in the plug-in's
// sources, so the test follows edits of the code but still catches a line
// written from the wrong place: a command's lines all name the line of its
// own call of the common shape.
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <ostream>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

#include "AgentTest.h"

namespace TetherTest {
namespace {

struct CExpectedCall {
    std::string m_strNeedle;   // text on the source line of the log call
    int m_iPriority;           // 3, 4 or 5
    std::string m_strPayload;  // the formatted payload
};

struct CExpectedLine {
    int m_iPriority;
    std::string m_strText;
    bool operator==(const CExpectedLine& other) const
    {
        return m_iPriority == other.m_iPriority && m_strText == other.m_strText;
    }
};

std::ostream& operator<<(std::ostream& out, const CExpectedLine& line)
{
    std::string strShown;
    for (char c : line.m_strText)
        strShown += c == '\033' ? std::string("\\e") : std::string(1, c);
    return out << line.m_iPriority << " " << strShown;
}

std::vector<std::string> ReadSource(const std::string& strFile)
{
    std::string strPath = std::string(TETHER_SOURCE_DIR) + "/src/Tether/" + strFile;
    std::ifstream in(strPath);
    if (!in)
        throw std::runtime_error("cannot read " + strPath);
    std::vector<std::string> vecLines;
    std::string strLine;
    while (std::getline(in, strLine))
        vecLines.push_back(strLine);
    return vecLines;
}

const char* ColourOf(int iPriority)
{
    switch (iPriority) {
    case 3: return "\033[33m";  // debug: yellow
    case 4: return "\033[32m";  // info: green
    case 5: return "\033[31m";  // warning: red
    }
    throw std::invalid_argument("no colour for priority " + std::to_string(iPriority));
}

// Finds the definition "CPlayerAgent::<function>(" in src/Tether/<file>, then
// for each call the first log-call line after it that holds the call's
// needle, and builds the lines the function writes along that path on the
// calling thread: "file: func(line) > colour[func:line] [Thread Id:[tid]]
// payload\e[0m". The frame names a constructor by its class and a destructor
// by "~class".
std::vector<CExpectedLine> ExpectedPath(const std::string& strFile, const std::string& strFunction,
                                        std::initializer_list<CExpectedCall> aCalls)
{
    std::string strThreadId = std::to_string(syscall(SYS_gettid));
    std::vector<std::string> vecSource = ReadSource(strFile);
    std::string strDefinition = "CPlayerAgent::" + strFunction + "(";
    size_t uDefinition = 0;
    while (uDefinition < vecSource.size() && vecSource[uDefinition].find(strDefinition) == std::string::npos)
        ++uDefinition;
    if (uDefinition == vecSource.size())
        throw std::runtime_error(strDefinition + " not found in " + strFile);

    std::vector<CExpectedLine> vecLines;
    for (const CExpectedCall& call : aCalls) {
        size_t uPos = uDefinition + 1;
        // Only a log call's own line counts.
        while (uPos < vecSource.size() &&
               (vecSource[uPos].find(call.m_strNeedle) == std::string::npos ||
                vecSource[uPos].find("LOG_") == std::string::npos))
            ++uPos;
        if (uPos == vecSource.size())
            throw std::runtime_error("'" + call.m_strNeedle + "' not found after " + strDefinition);
        std::string strLine = std::to_string(uPos + 1);
        vecLines.push_back({call.m_iPriority, strFile + ": " + strFunction + "(" + strLine + ") > " +
                                                  ColourOf(call.m_iPriority) + "[" + strFunction + ":" + strLine +
                                                  "] [Thread Id:[" + strThreadId + "]] " + call.m_strPayload +
                                                  "\033[0m"});
    }
    return vecLines;
}

class CAgentLogTest : public CAgentTest {
protected:
    // The captured lines, all of the plug-in's tag, taking them.
    std::vector<CExpectedLine> TakeLines()
    {
        std::vector<CExpectedLine> vecLines;
        for (const Dlog::CLogLine& line : Dlog::TakeCaptured()) {
            EXPECT_TRUE(line.m_bHasTag);
            EXPECT_EQ(line.m_strTag, "WRT_PLUGINS/CINECAST");
            vecLines.push_back({line.m_iPriority, line.m_strText});
        }
        return vecLines;
    }
};

TEST_F(CAgentLogTest, ConstructionACommandWithItsFailureLineAndDestruction)
{
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    EXPECT_EQ(TakeLines(), ExpectedPath("PlayerAgent.cpp", "CPlayerAgent",
                                        {{"SetKiteBridge as true", 3, "SetKiteBridge as true!!!"},
                                         {"RegisterKiteBridgeCallback Buffering_CB", 3,
                                          "RegisterKiteBridgeCallback Buffering_CB !!!"}}));
    {
        CScope scope(*this);
        Sim::answer(uAdapter, "setUri", false);
        pAgent->SetURI(Args("[{param_url: 'http://a/b.mp4'}, 7]"));
    }
    EXPECT_EQ(TakeLines(), ExpectedPath("PlayerAgent.cpp", "SetURI",
                                        {{"LOG_SITE()", 3, "ENTER!!!"},
                                         {"LOG_SITE()", 4, "param length is 2"},
                                         {"LOG_SITE()", 5, "Get the URL is http://a/b.mp4!!!"},
                                         {"LOG_SITE()", 5, "m_pCinecasterAdapter->open failed!!!"},
                                         {"LOG_SITE()", 5, "strCmd[player_set_uri] ErrorCode[-1]"}}));
    char szAddress[32];
    std::snprintf(szAddress, sizeof szAddress, "%p", static_cast<void*>(pAgent.get()));
    std::string strAgent = std::string(" CPlayerAgent[") + szAddress + "].";
    pAgent.reset();
    EXPECT_FALSE(Sim::isAlive(uAdapter));
    EXPECT_EQ(TakeLines(), ExpectedPath("PlayerAgent.cpp", "~CPlayerAgent",
                                        {{"Start to destroy", 5, "Start to destroy" + strAgent},
                                         {"End to destroy", 5, "End to destroy" + strAgent}}));
}

}  // namespace
}  // namespace TetherTest
