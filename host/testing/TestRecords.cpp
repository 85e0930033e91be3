#include "testing/TestRecords.h"

#include <algorithm>
#include <climits>

namespace Kite {

namespace {

// Separators that text does not hold, and a name.
const std::string MARKER = "\x1e\x1fkite-test\x1f";
const char MORE = '+';
const char LAST = '.';

std::string Escape(const std::vector<std::string>& aFields)
{
    std::string strLine;
    for (std::size_t i = 0; i < aFields.size(); ++i) {
        if (i > 0)
            strLine += '\t';
        for (char c : aFields[i]) {
            switch (c) {
            case '\\': strLine += "\\\\"; break;
            case '\t': strLine += "\\t"; break;
            case '\n': strLine += "\\n"; break;
            default: strLine += c;
            }
        }
    }
    return strLine;
}

std::vector<std::string> Unescape(const std::string& strLine)
{
    std::vector<std::string> aFields(1);
    for (std::size_t i = 0; i < strLine.size(); ++i) {
        char c = strLine[i];
        if (c == '\t') {
            aFields.emplace_back();
        } else if (c == '\\' && i + 1 < strLine.size()) {
            char cNext = strLine[++i];
            aFields.back() += cNext == 't' ? '\t' : cNext == 'n' ? '\n' : cNext;
        } else {
            aFields.back() += c;
        }
    }
    return aFields;
}

}  // namespace

std::vector<std::string> FrameRecord(const std::vector<std::string>& aFields)
{
    const std::size_t PIECE = PIPE_BUF - MARKER.size() - 2;
    std::string strLine = Escape(aFields);
    std::vector<std::string> aFrames;
    std::size_t uStart = 0;
    do {
        std::string strPiece = strLine.substr(uStart, PIECE);
        uStart += strPiece.size();
        aFrames.push_back(MARKER + (uStart < strLine.size() ? MORE : LAST) + strPiece + "\n");
    } while (uStart < strLine.size());
    return aFrames;
}

CRecordReader::CRecordReader(std::function<void(const std::string&)> output,
                             std::function<void(const std::vector<std::string>&)> record)
    : m_output(std::move(output)), m_record(std::move(record))
{
}

void CRecordReader::Feed(const char* pData, std::size_t uSize)
{
    m_strPending.append(pData, uSize);
    for (;;) {
        std::size_t uMarker = m_strPending.find(MARKER);
        if (uMarker == std::string::npos) {
            // Keep what could be the start of a marker.
            std::size_t uKeep = 0;
            for (std::size_t n = std::min(MARKER.size() - 1, m_strPending.size()); n > 0; --n) {
                if (m_strPending.compare(m_strPending.size() - n, n, MARKER, 0, n) == 0) {
                    uKeep = n;
                    break;
                }
            }
            if (m_strPending.size() > uKeep)
                m_output(m_strPending.substr(0, m_strPending.size() - uKeep));
            m_strPending.erase(0, m_strPending.size() - uKeep);
            return;
        }
        std::size_t uEnd = m_strPending.find('\n', uMarker);
        if (uEnd == std::string::npos) {
            if (uMarker > 0)
                m_output(m_strPending.substr(0, uMarker));
            m_strPending.erase(0, uMarker);
            return;
        }
        if (uMarker > 0)
            m_output(m_strPending.substr(0, uMarker));
        std::size_t uFlag = uMarker + MARKER.size();
        if (uFlag < uEnd) {
            m_strLine += m_strPending.substr(uFlag + 1, uEnd - uFlag - 1);
            if (m_strPending[uFlag] == LAST) {
                m_record(Unescape(m_strLine));
                m_strLine.clear();
            }
        }
        m_strPending.erase(0, uEnd + 1);
    }
}

void CRecordReader::Finish()
{
    if (!m_strPending.empty())
        m_output(m_strPending);
    m_strPending.clear();
}

}  // namespace Kite
