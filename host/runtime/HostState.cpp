#include "runtime/HostState.h"

namespace Kite {

CHostState& CHostState::Get()
{
    static CHostState s_state;
    return s_state;
}

void CHostState::RequestQuit(int iCode)
{
    if (m_bQuitRequested)
        return;
    m_bQuitRequested = true;
    m_iQuitCode = iCode;
    if (m_pIsolate != nullptr)
        m_pIsolate->TerminateExecution();
    if (m_pLoop != nullptr)
        g_main_loop_quit(m_pLoop);
}

int CHostState::ExitStatus() const
{
    if (m_bQuitRequested && m_iQuitCode != 0)
        return m_iQuitCode;
    return m_bHadUncaught ? 1 : 0;
}

}  // namespace Kite
