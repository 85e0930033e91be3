// kite test --coverage: what V8's precise coverage counted in each file's
// run, carried to kite test as records, merged over the runs, and printed as
// a table of lines, functions and branches or written as lcov.
#ifndef KITE_TEST_COVERAGE_H
#define KITE_TEST_COVERAGE_H

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace Kite {

// Offsets count UTF-16 units from the start of the script, as V8's do.
struct CCoverageRange {
    long long m_llStart = 0;
    long long m_llEnd = 0;
    long long m_llCount = 0;
};

// The function's own range first, then its blocks, outer before inner.
struct CFunctionCoverage {
    std::string m_strName;
    std::vector<CCoverageRange> m_aRanges;
};

// One script in one run.
struct CScriptCoverage {
    std::string m_strPath;  // absolute
    std::vector<CFunctionCoverage> m_aFunctions;
};

// The fields of a "coverage" record, and back; false when they are not one.
std::vector<std::string> CoverageRecord(const CScriptCoverage& script);
bool ParseCoverageRecord(const std::vector<std::string>& aFields, CScriptCoverage& script);

// The app's files over every run: a line, function or branch counts the
// times it ran in all runs together.
class CCoverage {
public:
    void Add(const CScriptCoverage& script);
    bool Empty() const { return m_files.empty(); }
    // The table, after the tally; TAP's lines start with "# ".
    void PrintTable(std::FILE* pOut, bool bTap) const;
    // lcov's tracefile; false with a reason when it cannot be written.
    bool WriteLcov(const std::string& strPath, std::string& strError) const;

private:
    struct CFileTotals;
    std::vector<CFileTotals> Totals() const;

    std::map<std::string, std::vector<CScriptCoverage>> m_files;  // by absolute path: each run's
};

}  // namespace Kite

#endif
