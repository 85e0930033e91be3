// Expected log lines in the plug-in's common frame, with the line numbers
// looked up in the plug-in's sources, so the tests follow edits of the code
// but still catch a line written from the wrong place or in the wrong order.
#ifndef TETHER_TESTS_SOURCE_LINES_H
#define TETHER_TESTS_SOURCE_LINES_H

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace TetherTest {

struct CExpectedCall {
    std::string m_strNeedle;   // text on the source line of the log call
    int m_iPriority;           // 3, 4 or 5
    std::string m_strPayload;  // the formatted payload
};

struct CExpectedLine {
    int m_iPriority;
    std::string m_strText;
};
bool operator==(const CExpectedLine& a, const CExpectedLine& b);
std::ostream& operator<<(std::ostream& out, const CExpectedLine& line);

// Finds the definition "CPlayerAgent::<function>(" in src/Tether/<file>, then
// each call's needle on a later log-call line than the previous one, and builds the
// lines the function writes along that path on the calling thread.
std::vector<CExpectedLine> ExpectedPath(const std::string& strFile, const std::string& strFunction,
                                        std::initializer_list<CExpectedCall> aCalls);

}  // namespace TetherTest

#endif
