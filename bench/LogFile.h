// A temporary file for the figures that run with the log on, emptied whenever
// it has grown large.
#ifndef TETHER_BENCH_LOG_FILE_H
#define TETHER_BENCH_LOG_FILE_H

#include <cstdio>

namespace TetherBench {

class CLogFile {
public:
    CLogFile();
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Null when no temporary file could be made.
    std::FILE* File() const { return m_pFile; }
    // Empties the file once it holds 64 MiB.
    void Trim();

private:
    std::FILE* m_pFile;
};

}  // namespace TetherBench

#endif
