#include "testing/TestReport.h"

namespace Kite {

namespace {

// Every line of the text, after the indent; a last line without its newline
// gets one.
std::string Indent(const std::string& strText, const std::string& strIndent)
{
    std::string strOut;
    std::size_t uStart = 0;
    while (uStart < strText.size()) {
        std::size_t uEnd = strText.find('\n', uStart);
        if (uEnd == std::string::npos)
            uEnd = strText.size();
        // No indent on an empty line, which would end in spaces.
        strOut += (uEnd > uStart ? strIndent : std::string()) + strText.substr(uStart, uEnd - uStart) + "\n";
        uStart = uEnd + 1;
    }
    return strOut;
}

std::string Joined(const std::vector<std::string>& aParts, const std::string& strSeparator)
{
    std::string strOut;
    for (std::size_t i = 0; i < aParts.size(); ++i)
        strOut += (i > 0 ? strSeparator : std::string()) + aParts[i];
    return strOut;
}

// A TAP description: one line, and no # that would start a directive.
std::string TapDescription(const std::string& strName)
{
    std::string strOut;
    for (char c : strName) {
        if (c == '#')
            strOut += "\\#";
        else
            strOut += (c == '\n' || c == '\r') ? ' ' : c;
    }
    return strOut;
}

}  // namespace

CReport::CReport(EReporter eReporter, std::FILE* pOut) : m_eReporter(eReporter), m_pOut(pOut)
{
}

void CReport::Begin()
{
    if (m_eReporter == REPORTER_TAP)
        std::fputs("TAP version 13\n", m_pOut);
}

void CReport::AddFile(const CFileReport& file)
{
    for (const CFileReport::CItem& item : file.m_aItems) {
        if (item.m_eKind == CFileReport::CItem::ERROR) {
            ++m_iFailed;
            continue;
        }
        if (item.m_eKind != CFileReport::CItem::TEST)
            continue;
        CTestResult::EStatus eStatus = file.m_aTests[item.m_uTest].m_eStatus;
        if (eStatus == CTestResult::PASSED)
            ++m_iPassed;
        else if (eStatus == CTestResult::SKIPPED)
            ++m_iSkipped;
        else
            ++m_iFailed;
    }
    if (m_eReporter == REPORTER_TAP)
        TapFile(file);
    else
        SpecFile(file);
    std::fflush(m_pOut);
}

void CReport::End(const std::string& strNote)
{
    std::string strTally = std::to_string(m_iPassed) + " passed, " + std::to_string(m_iFailed) + " failed";
    if (m_iSkipped > 0)
        strTally += ", " + std::to_string(m_iSkipped) + " skipped";
    if (m_eReporter == REPORTER_TAP) {
        std::fprintf(m_pOut, "1..%d\n", m_iPoints);
        if (!strNote.empty())
            std::fputs(Indent(strNote, "# ").c_str(), m_pOut);
        std::fprintf(m_pOut, "# %s\n", strTally.c_str());
    } else {
        std::fputs("\n", m_pOut);
        if (!strNote.empty())
            std::fputs(Indent(strNote, "").c_str(), m_pOut);
        std::fprintf(m_pOut, "%s\n", strTally.c_str());
    }
    std::fflush(m_pOut);
}

void CReport::SpecFile(const CFileReport& file)
{
    std::fprintf(m_pOut, "%s\n", file.m_strPath.c_str());
    // The suites whose header is printed, outermost first.
    std::vector<std::string> aOpen;
    for (const CFileReport::CItem& item : file.m_aItems) {
        if (item.m_eKind == CFileReport::CItem::OUTPUT) {
            std::fputs(Indent(item.m_strText, "").c_str(), m_pOut);
            continue;
        }
        if (item.m_eKind == CFileReport::CItem::ERROR) {
            std::string strText = Indent(item.m_strText, "    ");
            std::fprintf(m_pOut, "  FAIL %s", strText.substr(4).c_str());
            continue;
        }
        const CTestResult& test = file.m_aTests[item.m_uTest];
        std::fputs(Indent(test.m_strOutput, "").c_str(), m_pOut);
        std::size_t uSuites = test.m_aNames.size() - 1;
        std::size_t uSame = 0;
        while (uSame < aOpen.size() && uSame < uSuites && aOpen[uSame] == test.m_aNames[uSame])
            ++uSame;
        aOpen.resize(uSame);
        for (; uSame < uSuites; ++uSame) {
            std::fprintf(m_pOut, "%s%s\n", std::string(2 * (uSame + 1), ' ').c_str(), test.m_aNames[uSame].c_str());
            aOpen.push_back(test.m_aNames[uSame]);
        }
        std::string strIndent(2 * (uSuites + 1), ' ');
        const std::string& strName = test.m_aNames.back();
        if (test.m_eStatus == CTestResult::SKIPPED) {
            std::fprintf(m_pOut, "%sskip %s\n", strIndent.c_str(), strName.c_str());
        } else {
            std::fprintf(m_pOut, "%s%s %s (%lld ms)\n", strIndent.c_str(),
                         test.m_eStatus == CTestResult::PASSED ? "pass" : "FAIL", strName.c_str(), test.m_llMs);
            for (const std::string& strFailure : test.m_aFailures)
                std::fputs(Indent(strFailure, strIndent + "    ").c_str(), m_pOut);
        }
    }
}

void CReport::TapFile(const CFileReport& file)
{
    std::fprintf(m_pOut, "# %s\n", file.m_strPath.c_str());
    for (const CFileReport::CItem& item : file.m_aItems) {
        if (item.m_eKind == CFileReport::CItem::OUTPUT) {
            std::fputs(Indent(item.m_strText, "# ").c_str(), m_pOut);
        } else if (item.m_eKind == CFileReport::CItem::ERROR) {
            TapPoint(false, file.m_strPath, "", {item.m_strText});
        } else {
            const CTestResult& test = file.m_aTests[item.m_uTest];
            std::fputs(Indent(test.m_strOutput, "# ").c_str(), m_pOut);
            TapPoint(test.m_eStatus != CTestResult::FAILED, Joined(test.m_aNames, " > "),
                     test.m_eStatus == CTestResult::SKIPPED ? " # SKIP" : "", test.m_aFailures);
        }
    }
}

void CReport::TapPoint(bool bOk, const std::string& strName, const std::string& strDirective,
                       const std::vector<std::string>& aFailures)
{
    ++m_iPoints;
    std::fprintf(m_pOut, "%s %d - %s%s\n", bOk ? "ok" : "not ok", m_iPoints, TapDescription(strName).c_str(),
                 strDirective.c_str());
    if (aFailures.empty())
        return;
    // A literal block keeps the message's lines as they are.
    std::fputs("  ---\n  message: |-\n", m_pOut);
    std::fputs(Indent(Joined(aFailures, "\n\n"), "    ").c_str(), m_pOut);
    std::fputs("  ...\n", m_pOut);
}

}  // namespace Kite
