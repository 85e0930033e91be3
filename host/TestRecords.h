// The lines in which the run of one test file tells kite test what happened:
// fields separated by tabs, with backslash, tab and newline escaped, so that
// any text, a failure's several lines included, fits in one line.
#ifndef KITE_TEST_RECORDS_H
#define KITE_TEST_RECORDS_H

#include <string>
#include <vector>

namespace Kite {

// One line, with its newline.
std::string EncodeRecord(const std::vector<std::string>& aFields);
// A line without its newline.
std::vector<std::string> DecodeRecord(const std::string& strLine);

}  // namespace Kite

#endif
