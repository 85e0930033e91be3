// The plug-in's log lines taken apart, and held against the plug-in's
// sources: the one place where the tests read them.
#ifndef TEST_SUPPORT_LOG_FRAMES_H
#define TEST_SUPPORT_LOG_FRAMES_H

#include <DlogSink.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace TestSupport {

// A line in the common frame
//   "file: function(line) > colour[function:line] [Thread Id:[tid]] payload\e[0m"
// or in the short frame of a caught exception
//   "file: function(line) > [function] payload".
struct CFrame {
    int m_iPriority;
    std::string m_strFile;
    std::string m_strFunction;
    int m_iLine;
    int m_iThreadId;  // 0 in the short frame
    std::string m_strPayload;
};

// False when the line is in neither frame: the frame names two functions
// or two lines, or the colour is not that of the priority (yellow 3, green
// 4, red 5; the short frame has none and priority 6).
bool ParseFrame(const Dlog::CLogLine& line, CFrame& frame);

// The lines that one call wrote: each is in a frame whose line, in the named
// file of src/Tether/, holds the statement that writes it (its first string
// literal, as a printf format, matches the payload), and no two lines name
// the same place.
::testing::AssertionResult NameTheirStatements(const std::vector<Dlog::CLogLine>& vecLines);

}  // namespace TestSupport

#endif
