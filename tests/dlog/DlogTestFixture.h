// Leaves the process-wide log service as every test found it: no
// destination, no capture.
#ifndef DLOG_TEST_FIXTURE_H
#define DLOG_TEST_FIXTURE_H

#include <DlogSink.h>
#include <dlog.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
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

    // A fresh file as the destination.
    std::FILE* OpenDestination()
    {
        m_pFile = std::tmpfile();
        Dlog::SetDestination(m_pFile);
        return m_pFile;
    }

    // The lines written to that file so far; each must end with a newline.
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
