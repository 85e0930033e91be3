// Captures the lines that the JSON document class logs during one test and
// checks them against the two log frames, whole.
#ifndef JSON_LOG_EXPECTATIONS_H
#define JSON_LOG_EXPECTATIONS_H

#include <DlogSink.h>
#include <TetherJson.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

class CJsonLogTest : public ::testing::Test {
protected:
    void SetUp() override { Dlog::StartCapture(); }
    void TearDown() override
    {
        Dlog::StopCapture();
        Dlog::TakeCaptured();
    }
    static std::vector<Dlog::CLogLine> TakeLines() { return Dlog::TakeCaptured(); }
};

// 1-based numbers of the lines of TetherJson.cpp that contain strNeedle.
std::vector<int> SourceLinesContaining(const std::string& strNeedle);

// A warning line in the common frame, from function strFunc, whose payload
// is strPayload and whose call is on one of the source lines holding the
// quoted format strFormat. On success *piLine names that line.
::testing::AssertionResult IsWarnLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                      const std::string& strFormat, const std::string& strPayload,
                                      int* piLine = nullptr);

// An error line in the short exception frame from function strFunc.
::testing::AssertionResult IsExceptionLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                           const std::string& strWhat);

#endif
