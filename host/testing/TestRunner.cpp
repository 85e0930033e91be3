#include "testing/TestRunner.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <glib.h>
#include <map>
#include <poll.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "testing/PreciseCoverage.h"
#include "runtime/ScriptFile.h"
#include "testing/TestFiles.h"
#include "testing/TestRecords.h"
#include "testing/TestReport.h"
#include "testing/TestWatch.h"
#include "tv/TvTools.h"

namespace Kite {

namespace {

// Before a file's first record: V8 and the plug-ins start (slowly under an
// emulator or a sanitizer).
const long long START_ALLOWANCE_MS = 60000;
// After its last: the objects are destroyed and a leak check may run.
const long long END_ALLOWANCE_MS = 60000;
// From a stop signal or a kill until the file's process is given up on.
const long long STOP_ALLOWANCE_MS = 5000;
// What a file may print; the rest is cut, so that a runaway loop cannot
// exhaust memory before its time is up.
const std::size_t MAX_OUTPUT = 1 << 20;

// A signal handler gets no data: the stop signal that came is the
// process's, which runs no script itself.
volatile sig_atomic_t s_iSignal = 0;

void OnSignal(int iSignal)
{
    s_iSignal = iSignal;
}

long long NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::string DescribeEnd(int iStatus)
{
    if (WIFSIGNALED(iStatus))
        return "signal " + std::to_string(WTERMSIG(iStatus)) + " (" + strsignal(WTERMSIG(iStatus)) + ")";
    return "exit status " + std::to_string(WEXITSTATUS(iStatus));
}

// Follows one file's run from its records and its output.
class CFileWatch {
public:
    CFileWatch(CFileReport& report, int iTimeoutMs)
        : m_report(report), m_iTimeoutMs(iTimeoutMs), m_llDeadline(NowMs() + START_ALLOWANCE_MS)
    {
    }

    void Output(const char* pData, std::size_t uSize)
    {
        if (m_uOutput >= MAX_OUTPUT) {
            m_uCut += uSize;
            return;
        }
        m_uOutput += uSize;
        std::string* pText = nullptr;
        if (m_iCurrent >= 0) {
            pText = &m_report.m_aTests[m_iCurrent].m_strOutput;
        } else {
            if (m_report.m_aItems.empty() || m_report.m_aItems.back().m_eKind != CFileReport::CItem::OUTPUT)
                m_report.m_aItems.push_back({CFileReport::CItem::OUTPUT, std::string(), 0});
            pText = &m_report.m_aItems.back().m_strText;
        }
        pText->append(pData, uSize);
    }

    void Record(const std::vector<std::string>& aFields)
    {
        const std::string& strKind = aFields[0];
        if (strKind == "step") {
            StepBegins();
        } else if ((strKind == "start" || strKind == "skip") && aFields.size() >= 3) {
            CTestResult test;
            test.m_aNames.assign(aFields.begin() + 2, aFields.end());
            if (strKind == "skip")
                test.m_eStatus = CTestResult::SKIPPED;
            std::size_t uIndex = m_report.m_aTests.size();
            m_report.m_aTests.push_back(test);
            m_report.m_aItems.push_back({CFileReport::CItem::TEST, std::string(), uIndex});
            m_ids[aFields[1]] = uIndex;
            if (strKind == "start") {
                m_iCurrent = static_cast<int>(uIndex);
                m_llStarted = NowMs();
                StepBegins();
            }
        } else if ((strKind == "pass" || strKind == "fail") && aFields.size() >= 3 && m_ids.count(aFields[1])) {
            std::size_t uIndex = m_ids[aFields[1]];
            CTestResult& test = m_report.m_aTests[uIndex];
            long long llMs = std::atoll(aFields[2].c_str());
            // A failure may come late, from a callback the test queued.
            if (llMs >= 0)
                test.m_llMs = llMs;
            if (strKind == "fail") {
                test.m_eStatus = CTestResult::FAILED;
                test.m_aFailures.push_back(aFields.size() > 3 ? aFields[3] : std::string());
            } else if (test.m_eStatus == CTestResult::RUNNING) {
                test.m_eStatus = CTestResult::PASSED;
            }
            if (m_iCurrent == static_cast<int>(uIndex))
                m_iCurrent = -1;
        } else if (strKind == "error" && aFields.size() >= 2) {
            m_report.m_aItems.push_back({CFileReport::CItem::ERROR, aFields[1], 0});
        } else if (strKind == "usage" && aFields.size() >= 2) {
            m_strUsage = aFields[1];
        } else if (strKind == "pause") {
            // A debugger's client holds the run: no time limit meanwhile.
            if (m_llPausedAt == 0)
                m_llPausedAt = NowMs();
        } else if (strKind == "resume") {
            if (m_llPausedAt != 0)
                m_llDeadline += NowMs() - m_llPausedAt;
            m_llPausedAt = 0;
        } else if (strKind == "loaded") {
            m_report.m_aLoadedFiles.assign(aFields.begin() + 1, aFields.end());
        } else if (strKind == "coverage") {
            CScriptCoverage script;
            if (ParseCoverageRecord(aFields, script))
                m_report.m_aCoverage.push_back(script);
        } else if (strKind == "done") {
            m_bDone = true;
            m_llDeadline = NowMs() + END_ALLOWANCE_MS;
        }
    }

    // After the process has ended: what it did not report itself.
    void Ended(int iStatus, bool bKilled)
    {
        if (m_uCut > 0)
            AppendNote("[kite test: " + std::to_string(m_uCut) + " more bytes of output cut]\n");
        std::string strReason;
        if (bKilled) {
            strReason = "timed out after " + std::to_string(m_iTimeoutMs) +
                        " ms without giving control back: kite stopped this file, whose later tests did not run";
        } else if (!m_bDone) {
            strReason = "the file's run ended before its tests did (" + DescribeEnd(iStatus) + ")";
        } else if (iStatus != 0) {
            strReason = "the file's run ended with " + DescribeEnd(iStatus) + " after its tests";
        }
        if (strReason.empty())
            return;
        if (m_iCurrent >= 0 && !m_bDone) {
            CTestResult& test = m_report.m_aTests[m_iCurrent];
            test.m_eStatus = CTestResult::FAILED;
            test.m_aFailures.push_back(strReason);
            test.m_llMs = NowMs() - m_llStarted;
            m_iCurrent = -1;
        } else {
            m_report.m_aItems.push_back({CFileReport::CItem::ERROR, strReason, 0});
        }
    }

    // None while a debugger's client holds the run.
    bool HasDeadline() const { return m_llPausedAt == 0; }
    long long Deadline() const { return m_llDeadline; }
    const std::string& Usage() const { return m_strUsage; }

private:
    // A test or hook has its time limit, and then as long again (two seconds
    // at least) to report before kite takes it for stuck.
    void StepBegins()
    {
        long long llLimit = m_iTimeoutMs;
        m_llDeadline = NowMs() + llLimit + std::max(2000LL, llLimit);
    }

    void AppendNote(const std::string& strNote)
    {
        m_report.m_aItems.push_back({CFileReport::CItem::OUTPUT, strNote, 0});
    }

    CFileReport& m_report;
    int m_iTimeoutMs;
    long long m_llDeadline;
    std::map<std::string, std::size_t> m_ids;
    int m_iCurrent = -1;  // the test that has started and not ended
    long long m_llStarted = 0;
    long long m_llPausedAt = 0;  // while a debugger's client holds the run
    bool m_bDone = false;
    std::string m_strUsage;
    std::size_t m_uOutput = 0;
    std::size_t m_uCut = 0;
};

// Reads what is there now; false once the other end has closed.
bool ReadSome(int& iFd, CRecordReader& reader)
{
    char aBuffer[65536];
    for (;;) {
        ssize_t iRead = read(iFd, aBuffer, sizeof aBuffer);
        if (iRead > 0) {
            reader.Feed(aBuffer, static_cast<std::size_t>(iRead));
            continue;
        }
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead < 0 && errno == EAGAIN)
            return true;
        reader.Finish();
        close(iFd);
        iFd = -1;
        return false;
    }
}

enum EOutcome { RAN, IN_CHILD, INTERRUPTED, FAILED_TO_START };

// The child's end of the pipe becomes its stdout and stderr, and where its
// records go; answers the run's status.
int RunInChild(const CKiteOptions& options, RunScriptFunction pRunScript, const std::string& strPath,
               const int aPipe[2])
{
    close(aPipe[0]);
    CKiteOptions file = options;
    if (options.m_eInspect != INSPECT_OFF)
        file.m_test.m_iTerminalFd = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    dup2(aPipe[1], STDOUT_FILENO);
    dup2(aPipe[1], STDERR_FILENO);
    file.m_strScript = strPath;
    file.m_aArgs.clear();
    file.m_test.m_iRecordFd = aPipe[1];
    return pRunScript(file);
}

// Runs one file (strScript, which the report names as report.m_strPath) in
// a child process and fills its report. In the child it answers IN_CHILD
// with the run's status in iStatus.
EOutcome RunFile(const CKiteOptions& options, RunScriptFunction pRunScript, const std::string& strScript,
                 CFileReport& report, std::string& strProblem, int& iStatus)
{
    int aPipe[2];
    if (pipe(aPipe) != 0) {
        strProblem = std::strerror(errno);
        return FAILED_TO_START;
    }
    // The child would print what is still buffered a second time.
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        iStatus = RunInChild(options, pRunScript, strScript, aPipe);
        return IN_CHILD;
    }
    if (pid < 0)
        strProblem = std::strerror(errno);
    close(aPipe[1]);
    if (pid < 0) {
        close(aPipe[0]);
        return FAILED_TO_START;
    }
    fcntl(aPipe[0], F_SETFL, O_NONBLOCK);

    CFileWatch watch(report, options.m_test.m_iTimeoutMs);
    CRecordReader reader([&watch](const std::string& strText) { watch.Output(strText.data(), strText.size()); },
                         [&watch](const std::vector<std::string>& aFields) { watch.Record(aFields); });
    int iFd = aPipe[0];
    bool bKilled = false;
    int iInterrupt = 0;
    long long llStopping = 0;  // when the kill or the signal was sent
    sigset_t unblocked;
    sigemptyset(&unblocked);
    while (iFd >= 0) {
        long long llNow = NowMs();
        if (llStopping != 0 && llNow - llStopping > STOP_ALLOWANCE_MS) {
            // Whatever still holds the pipe open is not waited for.
            kill(pid, SIGKILL);
            close(iFd);
            break;
        }
        long long llWait = llStopping != 0 ? STOP_ALLOWANCE_MS : watch.Deadline() - llNow;
        if (llStopping == 0 && !watch.HasDeadline()) {
            llWait = -1;
        } else if (llWait <= 0) {
            kill(pid, SIGKILL);
            bKilled = true;
            llStopping = llNow;
            continue;
        }
        pollfd fd = {iFd, POLLIN, 0};
        timespec wait = {static_cast<time_t>(llWait / 1000), static_cast<long>(llWait % 1000) * 1000000};
        // The stop signals, blocked everywhere else, come only while waiting here.
        int iReady = ppoll(&fd, 1, llWait < 0 ? nullptr : &wait, &unblocked);
        if (iReady < 0 && errno == EINTR && s_iSignal != 0 && iInterrupt == 0) {
            iInterrupt = s_iSignal;
            kill(pid, iInterrupt);
            llStopping = NowMs();
            continue;
        }
        ReadSome(iFd, reader);
    }
    while (waitpid(pid, &iStatus, 0) < 0 && errno == EINTR) {
    }
    if (iInterrupt != 0) {
        iStatus = 128 + iInterrupt;
        return INTERRUPTED;
    }
    watch.Ended(iStatus, bKilled);
    strProblem = watch.Usage();
    return RAN;
}

// The files of one round, and what kite test remembers of them for the next.
struct CRound {
    std::vector<std::string> m_aFiles;  // as found
    std::vector<std::string> m_aScripts;  // what runs: the file, or its build for the TV
    std::map<std::string, std::vector<std::string>> m_loaded;  // by file: what its last run loaded
};

// Runs the files of the round whose index is listed and prints their report,
// the tally (calling beforeTally just before it) and their coverage. Answers
// -1 when every test passed, 1 when one failed, the status to end with
// otherwise; in a file's own process, bInChild with that run's status.
int RunRound(const CKiteOptions& options, RunScriptFunction pRunScript, CRound& round,
             const std::vector<std::size_t>& aWhich, const std::function<void()>& beforeTally, bool& bInChild)
{
    // The report shows paths as the files' runs do (CKiteRun::ShownPath).
    std::string strShownBelow = CurrentFolder();
    CReport report(options.m_test.m_eReporter, stdout);
    CCoverage coverage;
    report.Begin();
    for (std::size_t i : aWhich) {
        const std::string& strFile = round.m_aFiles[i];
        CFileReport file;
        file.m_strPath = PathBelow(strShownBelow, AbsolutePath(strFile));
        std::string strProblem;
        int iStatus = 0;
        EOutcome eOutcome = RunFile(options, pRunScript, round.m_aScripts[i], file, strProblem, iStatus);
        if (eOutcome == IN_CHILD) {
            bInChild = true;
            return iStatus;
        }
        if (eOutcome == INTERRUPTED)
            return iStatus;
        if (eOutcome == FAILED_TO_START) {
            std::fprintf(stderr, "kite: cannot start a run for %s: %s\n", strFile.c_str(), strProblem.c_str());
            return 1;
        }
        if (!strProblem.empty()) {
            // The file's run found the options unusable (--filter).
            std::fprintf(stderr, "kite: %s\n", strProblem.c_str());
            return 2;
        }
        report.AddFile(file);
        round.m_loaded[strFile] = file.m_aLoadedFiles;
        for (const CScriptCoverage& script : file.m_aCoverage)
            coverage.Add(script);
    }
    beforeTally();
    std::string strNote;
    bool bNoMatch = options.m_test.m_bFilter && report.Passed() + report.Failed() + report.Skipped() == 0;
    if (bNoMatch)
        strNote = "no test's full name matches --filter=" + options.m_test.m_strFilter;
    report.End(strNote);
    if (options.m_test.m_bCoverage) {
        coverage.PrintTable(stdout, options.m_test.m_eReporter == REPORTER_TAP);
        std::string strError;
        if (!options.m_test.m_strCoverageDir.empty() &&
            !coverage.WriteLcov(options.m_test.m_strCoverageDir + "/lcov.info", strError)) {
            std::fprintf(stderr, "kite: --coverage-dir: %s\n", strError.c_str());
            return 2;
        }
    }
    std::fflush(stdout);
    return report.Failed() > 0 || bNoMatch ? 1 : -1;
}

// The round's files for the TV's engine, when --target=tv asks.
bool PrepareScripts(const CKiteOptions& options, const CTemporaryFolder& builds, CRound& round, std::string& strError)
{
    round.m_aScripts = round.m_aFiles;
    for (std::size_t i = 0; i < round.m_aFiles.size() && options.m_strTarget == TV_TARGET; ++i) {
        if (!BuildTestForTv(round.m_aFiles[i], builds.Path() + "/" + std::to_string(i), round.m_aScripts[i], strError))
            return false;
    }
    return true;
}

// --coverage-dir: made, and lcov.info found writable, before any test runs.
bool PrepareCoverageDir(const std::string& strDir, std::string& strError)
{
    if (g_mkdir_with_parents(strDir.c_str(), 0777) != 0) {
        strError = "cannot make " + strDir + ": " + std::strerror(errno);
        return false;
    }
    std::string strFile = strDir + "/lcov.info";
    int iFd = open(strFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (iFd < 0) {
        strError = "cannot write " + strFile + ": " + std::strerror(errno);
        return false;
    }
    close(iFd);
    return true;
}

std::string FolderOf(const std::string& strAbsolute)
{
    gchar* pszFolder = g_path_get_dirname(strAbsolute.c_str());
    std::string strFolder = pszFolder;
    g_free(pszFolder);
    return strFolder;
}

// The folders named (where new test files may come), and those of the files
// that ran and of what they loaded.
std::set<std::string> WatchedFolders(const CKiteOptions& options, const CRound& round)
{
    std::set<std::string> folders;
    std::vector<std::string> aNamed = options.m_test.m_aPaths;
    if (aNamed.empty())
        aNamed.push_back(".");
    for (const std::string& strPath : aNamed) {
        std::string strAbsolute = AbsolutePath(strPath);
        folders.insert(g_file_test(strAbsolute.c_str(), G_FILE_TEST_IS_DIR) ? strAbsolute : FolderOf(strAbsolute));
    }
    for (const std::string& strFile : round.m_aFiles)
        folders.insert(FolderOf(AbsolutePath(strFile)));
    for (const auto& loaded : round.m_loaded) {
        for (const std::string& strFile : loaded.second)
            folders.insert(FolderOf(strFile));
    }
    return folders;
}

// kite test --watch: the first round runs every file; each later one the
// files that changed, are new, or loaded a file that changed. Ends on a stop
// signal (128 + N), or with 2 when what was named is gone.
int WatchTests(const CKiteOptions& options, RunScriptFunction pRunScript, const CTemporaryFolder& builds,
               CRound& round, std::vector<std::size_t> aWhich, bool& bInChild)
{
    CFolderWatch watch;
    std::string strError;
    // What a round's files may change is watched before they run; the
    // folders of what they loaded, before the tally: whoever waits for it
    // may change a file at once.
    auto WatchFolders = [&] {
        if (strError.empty())
            watch.Watch(WatchedFolders(options, round), strError);
    };
    sigset_t unblocked;
    sigemptyset(&unblocked);
    for (;;) {
        WatchFolders();
        int iExit = aWhich.empty() ? -1 : RunRound(options, pRunScript, round, aWhich, WatchFolders, bInChild);
        if (bInChild || iExit >= 2)
            return iExit;
        if (!strError.empty()) {
            std::fprintf(stderr, "kite: --watch: %s\n", strError.c_str());
            return 2;
        }
        if (!aWhich.empty()) {
            std::fputs("kite test --watch: waiting for changes (Ctrl-C ends)\n", stderr);
            std::fflush(stderr);
        }
        std::set<std::string> changed;
        if (!watch.Wait(unblocked, changed))
            return 128 + s_iSignal;
        CRound next;
        next.m_loaded = round.m_loaded;
        if (!FindTestFiles(options.m_test.m_aPaths, next.m_aFiles, strError) ||
            !PrepareScripts(options, builds, next, strError)) {
            std::fprintf(stderr, "kite: --watch: %s\n", strError.c_str());
            return 2;
        }
        aWhich.clear();
        for (std::size_t i = 0; i < next.m_aFiles.size(); ++i) {
            const std::string& strFile = next.m_aFiles[i];
            bool bRun = changed.count(AbsolutePath(strFile)) > 0 ||
                        std::find(round.m_aFiles.begin(), round.m_aFiles.end(), strFile) == round.m_aFiles.end();
            for (const std::string& strLoaded : next.m_loaded[strFile])
                bRun = bRun || changed.count(strLoaded) > 0;
            if (bRun)
                aWhich.push_back(i);
        }
        round = next;
    }
}

}  // namespace

int RunTests(const CKiteOptions& options, RunScriptFunction pRunScript)
{
    CRound round;
    std::string strError;
    if (!FindTestFiles(options.m_test.m_aPaths, round.m_aFiles, strError)) {
        std::fprintf(stderr, "kite: %s\n", strError.c_str());
        return 2;
    }
    // One inspector serves one run, as node --inspect-brk --test does.
    if (options.m_eInspect != INSPECT_OFF && round.m_aFiles.size() != 1) {
        std::fprintf(stderr, "kite: kite test serves the inspector for one test file's run, and %zu were found: name one file\n",
                     round.m_aFiles.size());
        return 2;
    }
    if (options.m_test.m_bCoverage && !CPreciseCoverage::Available()) {
        std::fprintf(stderr, "kite: --coverage is not available in this build of kite\n");
        return 2;
    }
    if (!options.m_test.m_strCoverageDir.empty() && !PrepareCoverageDir(options.m_test.m_strCoverageDir, strError)) {
        std::fprintf(stderr, "kite: --coverage-dir: %s\n", strError.c_str());
        return 2;
    }
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    struct sigaction aOld[2];
    sigaction(SIGINT, &action, &aOld[0]);
    sigaction(SIGTERM, &action, &aOld[1]);

    // With --target=tv each file runs as built for the TV's engine, from a
    // folder of its own; the report names the file as written.
    CTemporaryFolder builds;
    if (options.m_strTarget == TV_TARGET && !builds.Make(strError)) {
        std::fprintf(stderr, "kite: %s\n", strError.c_str());
        return 2;
    }
    if (!PrepareScripts(options, builds, round, strError)) {
        std::fprintf(stderr, "kite: %s\n", strError.c_str());
        return 2;
    }

    std::vector<std::size_t> aAll(round.m_aFiles.size());
    for (std::size_t i = 0; i < aAll.size(); ++i)
        aAll[i] = i;
    bool bInChild = false;
    int iExit;
    if (options.m_test.m_bWatch)
        iExit = WatchTests(options, pRunScript, builds, round, aAll, bInChild);
    else
        iExit = RunRound(options, pRunScript, round, aAll, [] {}, bInChild);
    if (bInChild)
        return iExit;
    sigaction(SIGINT, &aOld[0], nullptr);
    sigaction(SIGTERM, &aOld[1], nullptr);
    return iExit < 0 ? 0 : iExit;
}

}  // namespace Kite
