#include "runtime/KiteRun.h"

#include "runtime/ScriptFile.h"

namespace Kite {

namespace {

// The engine library keeps its own data in the isolate's last slot.
const uint32_t RUN_SLOT = 0;

}  // namespace

CKiteRun::CKiteRun(v8::Platform* pPlatform, v8::Isolate* pIsolate) : m_pPlatform(pPlatform), m_pIsolate(pIsolate)
{
    m_pIsolate->SetData(RUN_SLOT, this);
}

CKiteRun::~CKiteRun()
{
    m_pIsolate->SetData(RUN_SLOT, nullptr);
}

CKiteRun& CKiteRun::Of(v8::Isolate* pIsolate)
{
    return *Find(pIsolate);
}

CKiteRun* CKiteRun::Find(v8::Isolate* pIsolate)
{
    return static_cast<CKiteRun*>(pIsolate->GetData(RUN_SLOT));
}

void CKiteRun::RequestQuit(int iCode)
{
    if (m_bQuitRequested)
        return;
    m_bQuitRequested = true;
    m_iQuitCode = iCode;
    m_pIsolate->TerminateExecution();
    if (m_pLoop != nullptr)
        g_main_loop_quit(m_pLoop);
}

int CKiteRun::ExitStatus() const
{
    if (m_bQuitRequested && m_iQuitCode != 0)
        return m_iQuitCode;
    return m_bHadUncaught ? 1 : 0;
}

bool CKiteRun::HeldByDebugger() const
{
    return m_pDebugger != nullptr && m_pDebugger->HoldsRun();
}

std::string CKiteRun::ShownPath(const std::string& strPath) const
{
    return PathBelow(m_strShownBelow, strPath);
}

double RunDateMs(v8::Isolate* pIsolate)
{
    CKiteRun* pRun = pIsolate != nullptr ? CKiteRun::Find(pIsolate) : nullptr;
    if (pRun != nullptr && pRun->m_clock.IsVirtual())
        return pRun->m_clock.VirtualDateMs();
    return static_cast<double>(g_get_real_time()) / 1000.0;
}

}  // namespace Kite
