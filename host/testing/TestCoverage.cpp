#include "testing/TestCoverage.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <glib.h>
#include <sstream>

#include "runtime/ScriptFile.h"

namespace Kite {

namespace {

const char* const RECORD_KIND = "coverage";

// A line of the source with its code: from its first character that is not
// blank to its last, in UTF-16 offsets. A blank line has none and does not
// count.
struct CSourceLine {
    int m_iNumber;
    long long m_llCodeStart;
    long long m_llCodeEnd;
};

std::vector<CSourceLine> CodeLines(const std::string& strSource)
{
    std::vector<CSourceLine> aLines;
    long long llOffset = 0;
    int iNumber = 1;
    long long llCodeStart = -1;
    long long llCodeEnd = -1;
    for (std::size_t i = 0; i <= strSource.size(); ++i) {
        if (i == strSource.size() || strSource[i] == '\n') {
            if (llCodeStart >= 0)
                aLines.push_back({iNumber, llCodeStart, llCodeEnd});
            ++iNumber;
            llCodeStart = llCodeEnd = -1;
            ++llOffset;
            continue;
        }
        unsigned char c = static_cast<unsigned char>(strSource[i]);
        // A UTF-8 sequence's continuation bytes are no units of their own; a
        // four-byte sequence is two (a surrogate pair).
        if ((c & 0xc0) == 0x80)
            continue;
        int iUnits = c >= 0xf0 ? 2 : 1;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\f' && c != '\v') {
            if (llCodeStart < 0)
                llCodeStart = llOffset;
            llCodeEnd = llOffset + iUnits;
        }
        llOffset += iUnits;
    }
    return aLines;
}

bool ParseRange(const std::string& strText, CCoverageRange& range)
{
    const char* pszText = strText.c_str();
    char* pszEnd = nullptr;
    long long* aValues[] = {&range.m_llStart, &range.m_llEnd, &range.m_llCount};
    for (std::size_t i = 0; i < 3; ++i) {
        errno = 0;
        *aValues[i] = std::strtoll(pszText, &pszEnd, 10);
        if (pszEnd == pszText || errno != 0 || *pszEnd != (i < 2 ? ',' : '\0'))
            return false;
        pszText = pszEnd + 1;
    }
    return range.m_llStart <= range.m_llEnd && range.m_llCount >= 0;
}

std::string Percent(std::size_t uHit, std::size_t uAll)
{
    char aText[16];
    std::snprintf(aText, sizeof aText, "%.2f", uAll == 0 ? 100.0 : 100.0 * static_cast<double>(uHit) / uAll);
    return aText;
}

// A table's row stays readable: lcov has every line.
const std::size_t RUNS_SHOWN = 10;

// "3-5, 9": runs of consecutive numbers, the first RUNS_SHOWN of them, then
// how many more.
std::string Runs(const std::vector<int>& aNumbers)
{
    std::string strText;
    std::size_t uRuns = 0;
    for (std::size_t i = 0; i < aNumbers.size(); ++uRuns) {
        std::size_t j = i;
        while (j + 1 < aNumbers.size() && aNumbers[j + 1] == aNumbers[j] + 1)
            ++j;
        if (uRuns < RUNS_SHOWN) {
            strText += (strText.empty() ? "" : ", ") + std::to_string(aNumbers[i]);
            if (j > i)
                strText += "-" + std::to_string(aNumbers[j]);
        }
        i = j + 1;
    }
    if (uRuns > RUNS_SHOWN)
        strText += ", ... " + std::to_string(uRuns - RUNS_SHOWN) + " more";
    return strText;
}

typedef std::pair<long long, long long> CSpan;

// All the ranges of a run, each enclosing range before those inside it.
std::vector<CCoverageRange> Nested(const CScriptCoverage& run)
{
    std::vector<CCoverageRange> aRanges;
    for (const CFunctionCoverage& function : run.m_aFunctions)
        aRanges.insert(aRanges.end(), function.m_aRanges.begin(), function.m_aRanges.end());
    std::stable_sort(aRanges.begin(), aRanges.end(), [](const CCoverageRange& a, const CCoverageRange& b) {
        return a.m_llStart != b.m_llStart ? a.m_llStart < b.m_llStart : a.m_llEnd > b.m_llEnd;
    });
    return aRanges;
}

// What a run counted for a span: V8 leaves out a block that ran as often as
// the code around it, so the innermost range that holds the span tells. It
// is the last one, in the nested order, that starts at the span or before it
// and ends at its end or after.
long long CountIn(const std::vector<CCoverageRange>& aNested, const CSpan& span)
{
    auto it = std::upper_bound(aNested.begin(), aNested.end(), span, [](const CSpan& at, const CCoverageRange& range) {
        return at.first != range.m_llStart ? at.first < range.m_llStart : at.second > range.m_llEnd;
    });
    while (it != aNested.begin()) {
        --it;
        if (it->m_llEnd >= span.second)
            return it->m_llCount;
    }
    return 0;
}

}  // namespace

std::vector<std::string> CoverageRecord(const CScriptCoverage& script)
{
    std::vector<std::string> aFields = {RECORD_KIND, script.m_strPath};
    for (const CFunctionCoverage& function : script.m_aFunctions) {
        std::string strField;
        for (const CCoverageRange& range : function.m_aRanges) {
            strField += (strField.empty() ? "" : ";") + std::to_string(range.m_llStart) + "," +
                        std::to_string(range.m_llEnd) + "," + std::to_string(range.m_llCount);
        }
        aFields.push_back(strField + ":" + function.m_strName);
    }
    return aFields;
}

bool ParseCoverageRecord(const std::vector<std::string>& aFields, CScriptCoverage& script)
{
    if (aFields.size() < 2 || aFields[0] != RECORD_KIND || aFields[1].empty() || aFields[1][0] != '/')
        return false;
    script = CScriptCoverage();
    script.m_strPath = aFields[1];
    for (std::size_t i = 2; i < aFields.size(); ++i) {
        std::string::size_type uColon = aFields[i].find(':');
        if (uColon == std::string::npos)
            return false;
        CFunctionCoverage function;
        function.m_strName = aFields[i].substr(uColon + 1);
        std::stringstream ranges(aFields[i].substr(0, uColon));
        std::string strRange;
        while (std::getline(ranges, strRange, ';')) {
            CCoverageRange range;
            if (!ParseRange(strRange, range))
                return false;
            function.m_aRanges.push_back(range);
        }
        if (function.m_aRanges.empty())
            return false;
        script.m_aFunctions.push_back(function);
    }
    return true;
}

void CCoverage::Add(const CScriptCoverage& script)
{
    m_files[script.m_strPath].push_back(script);
}

// One file over all its runs.
struct CCoverage::CFileTotals {
    struct CFunction {
        CSpan m_span;
        int m_iLine;
        std::string m_strName;
        long long m_llCount;
    };
    struct CBranch {
        CSpan m_span;
        int m_iLine;
        std::size_t m_uBlock;  // the function it is in: 0 for the top level, then CFunction's index + 1
        std::size_t m_uIndex;  // within that
        long long m_llCount;
    };
    std::string m_strPath;
    std::vector<std::pair<int, long long>> m_aLines;  // number, count
    std::vector<CFunction> m_aFunctions;
    std::vector<CBranch> m_aBranches;

    std::size_t LinesHit() const
    {
        return std::count_if(m_aLines.begin(), m_aLines.end(), [](const std::pair<int, long long>& line) {
            return line.second > 0;
        });
    }
    std::size_t FunctionsHit() const
    {
        return std::count_if(m_aFunctions.begin(), m_aFunctions.end(),
                             [](const CFunction& function) { return function.m_llCount > 0; });
    }
    std::size_t BranchesHit() const
    {
        return std::count_if(m_aBranches.begin(), m_aBranches.end(),
                             [](const CBranch& branch) { return branch.m_llCount > 0; });
    }
};

std::vector<CCoverage::CFileTotals> CCoverage::Totals() const
{
    std::vector<CFileTotals> aTotals;
    for (const auto& file : m_files) {
        std::string strSource;
        std::string strError;
        // A file removed since it ran has nothing to show.
        if (!ReadScriptFile(file.first, strSource, strError))
            continue;
        std::vector<CSourceLine> aLines = CodeLines(strSource);
        auto LineOf = [&aLines](long long llOffset) {
            auto it = std::upper_bound(aLines.begin(), aLines.end(), llOffset,
                                       [](long long llAt, const CSourceLine& line) { return llAt < line.m_llCodeStart; });
            return it == aLines.begin() ? 1 : (it - 1)->m_iNumber;
        };

        // Each function once (by its span) over the runs, in source order,
        // and the blocks inside it. The file's top level is no function.
        std::map<CSpan, std::string> functions;
        std::map<CSpan, CSpan> branches;  // span -> its function's span
        CSpan topLevel(-1, -1);
        for (const CScriptCoverage& run : file.second) {
            for (const CFunctionCoverage& function : run.m_aFunctions) {
                CSpan span(function.m_aRanges[0].m_llStart, function.m_aRanges[0].m_llEnd);
                bool bTopLevel = span.first == 0 && function.m_strName.empty() &&
                                 (topLevel.first < 0 || span == topLevel);
                if (bTopLevel)
                    topLevel = span;
                else
                    functions.emplace(span, function.m_strName);
                for (std::size_t i = bTopLevel ? 1 : 0; i < function.m_aRanges.size(); ++i)
                    branches.emplace(CSpan(function.m_aRanges[i].m_llStart, function.m_aRanges[i].m_llEnd), span);
            }
        }
        std::vector<std::vector<CCoverageRange>> aRuns;
        for (const CScriptCoverage& run : file.second)
            aRuns.push_back(Nested(run));

        CFileTotals totals;
        totals.m_strPath = file.first;
        std::map<CSpan, std::size_t> blockOf;
        blockOf[topLevel] = 0;
        int iAnonymous = 0;
        // A function that a run does not list was never compiled there.
        std::map<CSpan, long long> calls;
        for (const CScriptCoverage& run : file.second) {
            for (const CFunctionCoverage& listed : run.m_aFunctions)
                calls[CSpan(listed.m_aRanges[0].m_llStart, listed.m_aRanges[0].m_llEnd)] += listed.m_aRanges[0].m_llCount;
        }
        for (const auto& function : functions) {
            long long llCount = calls[function.first];
            std::string strName =
                function.second.empty() ? "(anonymous_" + std::to_string(iAnonymous++) + ")" : function.second;
            blockOf[function.first] = totals.m_aFunctions.size() + 1;
            totals.m_aFunctions.push_back({function.first, LineOf(function.first.first), strName, llCount});
        }
        std::map<std::size_t, std::size_t> branchesIn;
        for (const auto& branch : branches) {
            long long llCount = 0;
            for (const std::vector<CCoverageRange>& aNested : aRuns)
                llCount += CountIn(aNested, branch.first);
            std::size_t uBlock = blockOf.count(branch.second) ? blockOf[branch.second] : 0;
            totals.m_aBranches.push_back(
                {branch.first, LineOf(branch.first.first), uBlock, branchesIn[uBlock]++, llCount});
        }
        std::sort(totals.m_aBranches.begin(), totals.m_aBranches.end(),
                  [](const CFileTotals::CBranch& a, const CFileTotals::CBranch& b) {
                      return a.m_uBlock != b.m_uBlock ? a.m_uBlock < b.m_uBlock : a.m_uIndex < b.m_uIndex;
                  });

        // A line takes the count of the innermost range that holds all of
        // its code; each run's counts add up.
        std::vector<long long> aLineCounts(aLines.size(), 0);
        for (const std::vector<CCoverageRange>& aNested : aRuns) {
            std::vector<long long> aRun(aLines.size(), 0);
            for (const CCoverageRange& range : aNested) {
                auto it = std::lower_bound(aLines.begin(), aLines.end(), range.m_llStart,
                                           [](const CSourceLine& line, long long llAt) { return line.m_llCodeStart < llAt; });
                for (; it != aLines.end() && it->m_llCodeStart < range.m_llEnd; ++it) {
                    if (it->m_llCodeEnd <= range.m_llEnd)
                        aRun[it - aLines.begin()] = range.m_llCount;
                }
            }
            for (std::size_t i = 0; i < aLines.size(); ++i)
                aLineCounts[i] += aRun[i];
        }
        for (std::size_t i = 0; i < aLines.size(); ++i)
            totals.m_aLines.push_back({aLines[i].m_iNumber, aLineCounts[i]});
        aTotals.push_back(totals);
    }
    return aTotals;
}

void CCoverage::PrintTable(std::FILE* pOut, bool bTap) const
{
    std::vector<CFileTotals> aTotals = Totals();
    // Paths as the report shows them (CKiteRun::ShownPath).
    std::string strShownBelow = CurrentFolder();
    std::string strPrefix = bTap ? "# " : "";
    if (aTotals.empty()) {
        std::fprintf(pOut, "%s\n%scoverage: the tests loaded no file with kite.load\n", bTap ? "#" : "",
                     strPrefix.c_str());
        return;
    }
    std::vector<std::vector<std::string>> aRows;
    aRows.push_back({"file", "line %", "lines", "branch %", "branches", "funcs %", "funcs", "uncovered lines"});
    std::size_t aAll[6] = {0, 0, 0, 0, 0, 0};
    for (const CFileTotals& totals : aTotals) {
        std::size_t aCounts[6] = {totals.LinesHit(),    totals.m_aLines.size(),     totals.BranchesHit(),
                                  totals.m_aBranches.size(), totals.FunctionsHit(), totals.m_aFunctions.size()};
        std::vector<int> aUncovered;
        for (const auto& line : totals.m_aLines) {
            if (line.second == 0)
                aUncovered.push_back(line.first);
        }
        std::vector<std::string> aRow = {PathBelow(strShownBelow, totals.m_strPath)};
        for (std::size_t i = 0; i < 6; i += 2) {
            aRow.push_back(Percent(aCounts[i], aCounts[i + 1]));
            aRow.push_back(std::to_string(aCounts[i]) + "/" + std::to_string(aCounts[i + 1]));
            aAll[i] += aCounts[i];
            aAll[i + 1] += aCounts[i + 1];
        }
        aRow.push_back(Runs(aUncovered));
        aRows.push_back(aRow);
    }
    std::vector<std::string> aTotalRow = {"all files"};
    for (std::size_t i = 0; i < 6; i += 2) {
        aTotalRow.push_back(Percent(aAll[i], aAll[i + 1]));
        aTotalRow.push_back(std::to_string(aAll[i]) + "/" + std::to_string(aAll[i + 1]));
    }
    aTotalRow.push_back("");
    aRows.push_back(aTotalRow);

    std::vector<std::size_t> aWidths(aRows[0].size(), 0);
    for (const auto& aRow : aRows) {
        for (std::size_t i = 0; i < aRow.size(); ++i)
            aWidths[i] = std::max(aWidths[i], aRow[i].size());
    }
    std::string strRule;
    for (std::size_t i = 0; i < aWidths.size(); ++i)
        strRule += (i > 0 ? "-+-" : "") + std::string(aWidths[i], '-');
    auto Print = [&](const std::vector<std::string>& aRow) {
        std::string strLine;
        for (std::size_t i = 0; i < aRow.size(); ++i) {
            // Names and lists to the left, numbers to the right.
            std::string strPad(aWidths[i] - aRow[i].size(), ' ');
            bool bLeft = i == 0 || i + 1 == aRow.size() || aRow == aRows[0];
            strLine += (i > 0 ? " | " : "") + (bLeft ? aRow[i] + strPad : strPad + aRow[i]);
        }
        while (!strLine.empty() && strLine.back() == ' ')
            strLine.pop_back();
        std::fprintf(pOut, "%s%s\n", strPrefix.c_str(), strLine.c_str());
    };
    std::fprintf(pOut, "%s\n%scoverage of the files the tests loaded:\n", bTap ? "#" : "", strPrefix.c_str());
    Print(aRows[0]);
    std::fprintf(pOut, "%s%s\n", strPrefix.c_str(), strRule.c_str());
    for (std::size_t i = 1; i + 1 < aRows.size(); ++i)
        Print(aRows[i]);
    std::fprintf(pOut, "%s%s\n", strPrefix.c_str(), strRule.c_str());
    Print(aRows.back());
}

bool CCoverage::WriteLcov(const std::string& strPath, std::string& strError) const
{
    std::string strText;
    for (const CFileTotals& totals : Totals()) {
        strText += "TN:\nSF:" + totals.m_strPath + "\n";
        for (const auto& function : totals.m_aFunctions)
            strText += "FN:" + std::to_string(function.m_iLine) + "," + function.m_strName + "\n";
        for (const auto& function : totals.m_aFunctions)
            strText += "FNDA:" + std::to_string(function.m_llCount) + "," + function.m_strName + "\n";
        strText += "FNF:" + std::to_string(totals.m_aFunctions.size()) + "\nFNH:" +
                   std::to_string(totals.FunctionsHit()) + "\n";
        for (const auto& branch : totals.m_aBranches) {
            strText += "BRDA:" + std::to_string(branch.m_iLine) + "," + std::to_string(branch.m_uBlock) + "," +
                       std::to_string(branch.m_uIndex) + "," + std::to_string(branch.m_llCount) + "\n";
        }
        strText += "BRF:" + std::to_string(totals.m_aBranches.size()) + "\nBRH:" +
                   std::to_string(totals.BranchesHit()) + "\n";
        for (const auto& line : totals.m_aLines)
            strText += "DA:" + std::to_string(line.first) + "," + std::to_string(line.second) + "\n";
        strText += "LF:" + std::to_string(totals.m_aLines.size()) + "\nLH:" + std::to_string(totals.LinesHit()) +
                   "\nend_of_record\n";
    }
    GError* pError = nullptr;
    if (!g_file_set_contents(strPath.c_str(), strText.data(), static_cast<gssize>(strText.size()), &pError)) {
        strError = pError->message;
        g_error_free(pError);
        return false;
    }
    return true;
}

}  // namespace Kite
