// How much room a text takes on a line, and the small words the printer
// builds lines from.
#ifndef KITE_TEXT_WIDTH_H
#define KITE_TEXT_WIDTH_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace Kite {

// Columns a UTF-8 text takes: its length in UTF-16 units, as Node counts it.
std::size_t TextWidth(const std::string& strText);

std::string Spaces(int iCount);

// "1 more item", "3 more items".
std::string Plural(uint64_t uCount, const char* pszWhat);

// A key that needs no quotes: letters, digits and _, not starting with a digit.
bool IsIdentifier(const std::string& strKey);

}  // namespace Kite

#endif
