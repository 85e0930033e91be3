#include "ModelNetwork.h"

#include <algorithm>
#include <cmath>

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

namespace {

// Longer than any test or film (about 35 years): what a tiny bandwidth
// would make of a period stays a time the clock can add.
const long long LONGEST_US = 1LL << 50;

long long ClampedUs(double dUs)
{
    if (!(dUs < static_cast<double>(LONGEST_US)))
        return LONGEST_US;
    return std::max(0LL, static_cast<long long>(std::ceil(dUs)));
}

}  // namespace

void CModelNetwork::Reset(const CMedia& media)
{
    m_llLatencyUs = static_cast<long long>(media.m_ullLatencyMs) * 1000;
    m_dBandwidth = media.m_dBandwidth;
    m_llEndUs = media.m_ullDurationMs ? static_cast<long long>(*media.m_ullDurationMs) * 1000 : NEVER;
    m_llCapacityUs = BUFFER_US;
    if (media.m_ullWindowMs > 0)
        m_llCapacityUs = std::min(m_llCapacityUs, static_cast<long long>(media.m_ullWindowMs) * 1000);
    m_bFails = media.m_eError != EMediaError::NONE;
    m_llFailureUs = media.m_failure ? static_cast<long long>(media.m_failure->m_ullAtMs) * 1000 : NEVER;
    m_llLoadedUs = 0;
    m_llSinceUs = 0;
}

long long CModelNetwork::FillAmountUs(long long llPositionUs) const
{
    if (m_bFails)
        return 0;
    if (m_llEndUs == NEVER)
        return m_llCapacityUs;
    return std::max(0LL, std::min(m_llCapacityUs, m_llEndUs - llPositionUs));
}

long long CModelNetwork::FillTimeUs(long long llPositionUs) const
{
    if (IsUnlimited())
        return 0;
    return ClampedUs(static_cast<double>(FillAmountUs(llPositionUs)) / m_dBandwidth);
}

int CModelNetwork::LevelAt(long long llPositionUs, long long llElapsedUs) const
{
    if (llElapsedUs < m_llLatencyUs)
        return 0;
    const long long llFillUs = FillTimeUs(llPositionUs);
    const long long llFilledUs = llElapsedUs - m_llLatencyUs;
    if (llFilledUs >= llFillUs)
        return 100;
    return static_cast<int>(static_cast<double>(llFilledUs) * 100.0 / static_cast<double>(llFillUs));
}

long long CModelNetwork::NextLevelUs(long long llPositionUs, long long llElapsedUs) const
{
    const long long llFillUs = FillTimeUs(llPositionUs);
    if (llElapsedUs >= m_llLatencyUs + llFillUs)
        return NEVER;
    const long long llStepUs = std::max(LEVEL_STEP_US, (llFillUs + 99) / 100);
    const long long llStep = llElapsedUs < m_llLatencyUs ? 1 : (llElapsedUs - m_llLatencyUs) / llStepUs + 1;
    return m_llLatencyUs + std::min(llStep * llStepUs, llFillUs);
}

void CModelNetwork::Fill(long long llPositionUs, long long llNowUs)
{
    m_llLoadedUs = llPositionUs + FillAmountUs(llPositionUs);
    m_llSinceUs = llNowUs;
}

void CModelNetwork::Settle(long long llPositionUs, long long llNowUs)
{
    if (IsUnlimited()) {
        Fill(llPositionUs, llNowUs);
        return;
    }
    double dLoadedUs = static_cast<double>(m_llLoadedUs) + m_dBandwidth * static_cast<double>(llNowUs - m_llSinceUs);
    // A full buffer takes no more; the media have an end.
    dLoadedUs = std::min(dLoadedUs, static_cast<double>(llPositionUs + m_llCapacityUs));
    if (m_llEndUs != NEVER)
        dLoadedUs = std::min(dLoadedUs, static_cast<double>(m_llEndUs));
    m_llLoadedUs = std::max(llPositionUs, static_cast<long long>(dLoadedUs));
    m_llSinceUs = llNowUs;
}

long long CModelNetwork::PlayableUs(long long llPositionUs) const
{
    if (IsUnlimited() || m_dBandwidth >= 1 || (m_llEndUs != NEVER && m_llLoadedUs >= m_llEndUs))
        return NEVER;
    // The buffer drains at the rate of play less the rate of arrival.
    const long long llPlayableUs = ClampedUs(static_cast<double>(m_llLoadedUs - llPositionUs) / (1 - m_dBandwidth));
    // The download reaches the end first: the rest plays out.
    if (m_llEndUs != NEVER && llPositionUs + llPlayableUs >= m_llEndUs)
        return NEVER;
    return llPlayableUs;
}

long long CModelNetwork::UntilFailureUs(long long llPositionUs) const
{
    if (m_llFailureUs == NEVER || m_llFailureUs < llPositionUs)
        return NEVER;
    if (IsUnlimited())
        return m_llLatencyUs;
    return m_llLatencyUs + ClampedUs(static_cast<double>(m_llFailureUs - llPositionUs) / m_dBandwidth);
}

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI
