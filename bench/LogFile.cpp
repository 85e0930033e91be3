#include "LogFile.h"

#include <unistd.h>

namespace TetherBench {

CLogFile::CLogFile() : m_pFile(std::tmpfile())
{
    if (m_pFile == nullptr)
        std::perror("tether_bench: no temporary log file");
}

CLogFile::~CLogFile()
{
    if (m_pFile != nullptr)
        std::fclose(m_pFile);
}

void CLogFile::Trim()
{
    if (m_pFile == nullptr || std::ftell(m_pFile) < (64L << 20))
        return;
    std::rewind(m_pFile);
    if (ftruncate(fileno(m_pFile), 0) != 0)
        std::perror("tether_bench: truncating the log file");
}

}  // namespace TetherBench
