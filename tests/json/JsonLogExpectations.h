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

// A warning in the common frame from strFunc with payload strPayload, logged
// from a line of TetherJson.cpp that holds the quoted format strFormat; that
// line's number goes to *piLine.
::testing::AssertionResult IsWarnLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                      const std::string& strFormat, const std::string& strPayload,
                                      int* piLine = nullptr);

// strFunc's refusal of a document whose root has jsoncpp type iType.
::testing::AssertionResult IsRefusalLine(const Dlog::CLogLine& line, const std::string& strFunc, int iType,
                                         int* piLine = nullptr);

// json.Get(strKey) answers true and reads expected.
template <typename T>
::testing::AssertionResult Reads(CTetherJson& json, const std::string& strKey, const T& expected)
{
    T value{};
    if (!json.Get(strKey, value))
        return ::testing::AssertionFailure() << "Get(\"" << strKey << "\") refused";
    if (!(value == expected))
        return ::testing::AssertionFailure() << "Get(\"" << strKey << "\") read " << ::testing::PrintToString(value);
    return ::testing::AssertionSuccess();
}

// An error in the short exception frame from strFunc.
::testing::AssertionResult IsExceptionLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                           const std::string& strWhat);

#endif
