// How an object's entries are set on lines: on one line when they fit,
// short elements in columns, else one entry a line.
#ifndef KITE_LINE_LAYOUT_H
#define KITE_LINE_LAYOUT_H

#include <string>
#include <vector>

namespace Kite {

// The braces and what goes before them, for one object.
struct CShape {
    std::string m_strBase;  // a function's or date's text, an error's stack
    std::string m_strOpen = "{";
    std::string m_strClose = "}";
    bool m_bArrayLike = false;  // elements may be set in columns
    bool m_bNumbers = false;    // every element a number: columns align right
    bool m_bMore = false;       // the last entry is "... N more items"
};

// Where the object being laid out stands.
struct CLinePlace {
    int m_iIndentation = 0;
    // How far below the object the entries reached: an object shares one
    // line only with the innermost levels below it.
    int m_iLevelsBelow = 0;
    // One entry a line, each followed by a comma, whatever fits: lines that
    // a diff compares, where one entry added at the end changes one line.
    bool m_bListing = false;
};

// The object's text: base, braces and entries.
std::string LayOut(std::vector<std::string>& aEntries, const CShape& shape, const CLinePlace& place);

}  // namespace Kite

#endif
