// What kite test prints: a readable report (text) or TAP version 13, file
// by file, and a last line with the tally.
#ifndef KITE_TEST_REPORT_H
#define KITE_TEST_REPORT_H

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/KiteOptions.h"
#include "testing/TestCoverage.h"

namespace Kite {

struct CTestResult {
    enum EStatus { RUNNING, PASSED, FAILED, SKIPPED };
    std::vector<std::string> m_aNames;  // the suites', then the test's own
    EStatus m_eStatus = RUNNING;
    long long m_llMs = 0;
    std::vector<std::string> m_aFailures;
    std::string m_strOutput;  // what the file printed while the test ran
};

// One file's run, in the order things happened.
struct CFileReport {
    struct CItem {
        enum EKind { OUTPUT, TEST, ERROR } m_eKind;
        std::string m_strText;  // OUTPUT, ERROR
        std::size_t m_uTest;  // TEST: index into m_aTests
    };
    std::string m_strPath;
    std::vector<CItem> m_aItems;
    std::vector<CTestResult> m_aTests;
    std::vector<std::string> m_aLoadedFiles;  // absolute: what kite.load ran
    std::vector<CScriptCoverage> m_aCoverage;  // with --coverage
};

class CReport {
public:
    CReport(EReporter eReporter, std::FILE* pOut);
    void Begin();
    void AddFile(const CFileReport& file);
    // The tally line; a note, when not empty, comes just before it.
    void End(const std::string& strNote);

    int Passed() const { return m_iPassed; }
    // Failed tests and files that failed outside any test.
    int Failed() const { return m_iFailed; }
    int Skipped() const { return m_iSkipped; }

private:
    void SpecFile(const CFileReport& file);
    void TapFile(const CFileReport& file);
    void TapPoint(bool bOk, const std::string& strName, const std::string& strDirective,
                  const std::vector<std::string>& aFailures);

    EReporter m_eReporter;
    std::FILE* m_pOut;
    int m_iPassed = 0;
    int m_iFailed = 0;
    int m_iSkipped = 0;
    int m_iPoints = 0;  // TAP's numbering runs over every file
};

}  // namespace Kite

#endif
