// How the run of one test file tells kite test what happened: records, lines
// of fields, framed on the same pipe as the file's stdout and stderr, so
// that both keep the order in which they were written. A frame is a marker,
// a flag, a piece of the escaped line and a newline; it is written with one
// write() of at most PIPE_BUF bytes, which no other writer can split.
#ifndef KITE_TEST_RECORDS_H
#define KITE_TEST_RECORDS_H

#include <functional>
#include <string>
#include <vector>

namespace Kite {

// The frames of one record, each to be written whole.
std::vector<std::string> FrameRecord(const std::vector<std::string>& aFields);

// Splits what the pipe carries into output and records, in order.
class CRecordReader {
public:
    CRecordReader(std::function<void(const std::string&)> output,
                  std::function<void(const std::vector<std::string>&)> record);
    void Feed(const char* pData, std::size_t uSize);
    // At the end of the pipe: what is left is output.
    void Finish();

private:
    std::function<void(const std::string&)> m_output;
    std::function<void(const std::vector<std::string>&)> m_record;
    std::string m_strPending;  // may hold the start of a marker or a frame
    std::string m_strLine;  // the pieces of a record whose last frame has not come
};

}  // namespace Kite

#endif
