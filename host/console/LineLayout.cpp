#include "console/LineLayout.h"

#include <algorithm>
#include <cmath>

#include "console/TextWidth.h"

namespace Kite {

namespace {

// Node's layout: a line holds 80 columns, and the innermost three levels
// of objects may share one line.
const int BREAK_LENGTH = 80;
const int COMPACT_LEVELS = 3;
const std::size_t SEPARATOR_WIDTH = 2;  // ", "

// How many columns short entries of these widths are set in; 1 when they
// stay one a line.
std::size_t ColumnCount(const std::vector<std::size_t>& aWidths, std::size_t uEntries, int iIndentation)
{
    double dTotal = 0;
    std::size_t uMax = 0;
    for (std::size_t uWidth : aWidths) {
        dTotal += static_cast<double>(uWidth + SEPARATOR_WIDTH);
        uMax = std::max(uMax, uWidth);
    }
    double dColumn = static_cast<double>(uMax + SEPARATOR_WIDTH);
    if (!(dColumn * 3 + iIndentation < BREAK_LENGTH && (dTotal / dColumn > 5 || uMax <= 6)))
        return 1;
    double dBias = std::sqrt(dColumn - dTotal / static_cast<double>(uEntries));
    double dBiasedColumn = std::max(dColumn - 3 - dBias, 1.0);
    double dColumns =
        std::min({std::round(std::sqrt(2.5 * dBiasedColumn * static_cast<double>(aWidths.size())) / dBiasedColumn),
                  std::floor((BREAK_LENGTH - iIndentation) / dColumn), static_cast<double>(COMPACT_LEVELS * 4), 15.0});
    return dColumns > 1 ? static_cast<std::size_t>(dColumns) : 1;
}

// Many short elements are set in columns, about as wide as they are tall.
// Numbers align right, other entries left.
void GroupInColumns(std::vector<std::string>& aEntries, const CShape& shape, int iIndentation)
{
    std::size_t uCount = aEntries.size() - (shape.m_bMore ? 1 : 0);
    std::vector<std::size_t> aWidths(uCount);
    for (std::size_t i = 0; i < uCount; ++i)
        aWidths[i] = TextWidth(aEntries[i]);
    std::size_t uColumns = ColumnCount(aWidths, aEntries.size(), iIndentation);
    if (uColumns <= 1)
        return;
    std::vector<std::size_t> aColumnWidths(uColumns, 0);
    for (std::size_t i = 0; i < uCount; ++i)
        aColumnWidths[i % uColumns] = std::max(aColumnWidths[i % uColumns], aWidths[i] + SEPARATOR_WIDTH);
    std::vector<std::string> aRows;
    for (std::size_t i = 0; i < uCount; i += uColumns) {
        std::size_t uEnd = std::min(i + uColumns, uCount);
        std::string strRow;
        for (std::size_t j = i; j < uEnd; ++j) {
            bool bLast = j + 1 == uEnd;
            std::string strCell = bLast ? aEntries[j] : aEntries[j] + ", ";
            std::size_t uCellWidth = aWidths[j] + (bLast ? 0 : SEPARATOR_WIDTH);
            std::size_t uColumnWidth = aColumnWidths[j - i] - (bLast ? SEPARATOR_WIDTH : 0);
            std::string strPad = uColumnWidth > uCellWidth ? Spaces(static_cast<int>(uColumnWidth - uCellWidth)) : "";
            if (shape.m_bNumbers)
                strRow += strPad + strCell;
            else
                strRow += bLast ? strCell : strCell + strPad;
        }
        aRows.push_back(strRow);
    }
    if (shape.m_bMore)
        aRows.push_back(aEntries.back());
    aEntries.swap(aRows);
}

// One line when the entries fit in 80 columns, hold no line break and
// reach at most the innermost three levels.
bool FitsOneLine(const std::vector<std::string>& aEntries, const CShape& shape, const CLinePlace& place)
{
    if (place.m_iLevelsBelow >= COMPACT_LEVELS || shape.m_strBase.find('\n') != std::string::npos)
        return false;
    std::size_t uLength = 2 * aEntries.size() + static_cast<std::size_t>(place.m_iIndentation) +
                          TextWidth(shape.m_strOpen) + TextWidth(shape.m_strBase) + 10;
    for (const std::string& strEntry : aEntries) {
        uLength += TextWidth(strEntry);
        if (strEntry.find('\n') != std::string::npos)
            return false;
    }
    return uLength <= static_cast<std::size_t>(BREAK_LENGTH);
}

}  // namespace

std::string LayOut(std::vector<std::string>& aEntries, const CShape& shape, const CLinePlace& place)
{
    std::string strBase = shape.m_strBase.empty() ? std::string() : shape.m_strBase + " ";
    if (!place.m_bListing) {
        std::size_t uEntries = aEntries.size();
        if (shape.m_bArrayLike && uEntries > 6)
            GroupInColumns(aEntries, shape, place.m_iIndentation);
        if (uEntries == aEntries.size() && FitsOneLine(aEntries, shape, place)) {
            std::string strLine = strBase + shape.m_strOpen + " ";
            for (std::size_t i = 0; i < aEntries.size(); ++i)
                strLine += (i > 0 ? ", " : "") + aEntries[i];
            return strLine + " " + shape.m_strClose;
        }
    }
    std::string strIndentation = "\n" + Spaces(place.m_iIndentation);
    const char* pszAfter = place.m_bListing ? "," : "";
    std::string strText = strBase + shape.m_strOpen;
    for (std::size_t i = 0; i < aEntries.size(); ++i)
        strText += (i > 0 && !place.m_bListing ? "," : "") + strIndentation + "  " + aEntries[i] + pszAfter;
    return strText + strIndentation + shape.m_strClose;
}

}  // namespace Kite
