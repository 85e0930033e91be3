// Leaves the process-wide log service as every test found it: no
// destination, no capture.
#ifndef DLOG_TEST_FIXTURE_H
#define DLOG_TEST_FIXTURE_H

#include <DlogSink.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

class CDlogTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        Reset();
        if (m_pFile != nullptr)
            std::fclose(m_pFile);
    }

    std::FILE* OpenDestination()
    {
        m_pFile = std::tmpfile();
        EXPECT_NE(m_pFile, nullptr);
        Dlog::SetDestination(m_pFile);
        return m_pFile;
    }

    std::vector<std::string> ReadBackLines()
    {
        std::fflush(m_pFile);
        std::rewind(m_pFile);
        std::vector<std::string> vecLines;
        std::string strLine;
        int c;
        while ((c = std::fgetc(m_pFile)) != EOF) {
            if (c == '\n') {
                vecLines.push_back(strLine);
                strLine.clear();
            } else {
                strLine += static_cast<char>(c);
            }
        }
        EXPECT_TRUE(strLine.empty()) << "unterminated last line: " << strLine;
        return vecLines;
    }

private:
    static void Reset()
    {
        Dlog::SetDestination(nullptr);
        Dlog::StopCapture();
        Dlog::TakeCaptured();
    }

    std::FILE* m_pFile = nullptr;
};

#endif
