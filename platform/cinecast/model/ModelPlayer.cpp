#include "ModelPlayer.h"

#include <algorithm>


namespace DeviceAPI {
namespace Cinecast {
namespace Model {

namespace {

// The current time and the sound-analysis bands are reported this often.
const long long TICK_US = 100000;
const char* const USER_AGENT_PROPERTY = "USER_AGENT";
const int SILENT_BANDS = 16;

}  // namespace

void CModelPlayer::CTimed::At(long long llDueUs, std::function<void()> fn)
{
    Cancel();
    m_ullId = m_clock.At(llDueUs, [this, fn]() {
        m_ullId = 0;
        fn();
    });
}

void CModelPlayer::CTimed::Cancel()
{
    if (m_ullId != 0)
        m_clock.Cancel(m_ullId);
    m_ullId = 0;
}

CModelPlayer::CModelPlayer(CAdapterBackend& backend, CModelClock& clock, CMediaCatalogue& catalogue)
    : m_backend(backend)
    , m_clock(clock)
    , m_catalogue(catalogue)
    , m_load(clock)
    , m_end(clock)
    , m_dry(clock)
    , m_fail(clock)
    , m_tick(clock)
    , m_notices(clock)
{
}

CModelPlayer::~CModelPlayer()
{
    m_catalogue.CancelWait(m_ullHoldId);
    m_load.Cancel();
    m_end.Cancel();
    m_dry.Cancel();
    m_fail.Cancel();
    m_tick.Cancel();
    m_notices.Cancel();
}

void CModelPlayer::Notify(std::function<void()> fn)
{
    m_aNotices.push_back(std::move(fn));
    if (!m_notices.IsPending())
        m_notices.At(m_clock.NowUs(), [this] { SendNotices(); });
}

void CModelPlayer::SendNotices()
{
    std::deque<std::function<void()>> aNotices;
    aNotices.swap(m_aNotices);
    for (const std::function<void()>& fn : aNotices)
        fn();
}

void CModelPlayer::SendBuffering(int iPercent)
{
    if (m_steps.Admit(iPercent, m_clock.NowUs()) && m_bEventsEnabled)
        m_backend.FireBuffering(iPercent);
}

void CModelPlayer::SendCompletion(KiteBridgeCallBack eCode)
{
    if (m_bEventsEnabled)
        m_backend.FireCompletion(eCode);
}

void CModelPlayer::SendError(EMediaError eError, const std::string& strText)
{
    if (!m_bEventsEnabled)
        return;
    KiteBridgeEvent event{static_cast<int>(eError), strText, ""};
    m_backend.FireEvent(KITE_BRIDGE_ERROR_EVENT, &event);
}

bool CModelPlayer::Create()
{
    if (!m_bCreated) {
        m_bCreated = true;
        m_eState = PLAYER_STATE_NONE;
    }
    return true;
}

bool CModelPlayer::SetUri(const std::string& strMedia)
{
    if (!m_bCreated || strMedia.empty() || strMedia.find('\0') != std::string::npos)
        return false;
    m_strUri = strMedia;
    m_suspended = CSuspended();
    m_llFirstReadUs = -1;
    Unprepare();
    return true;
}

bool CModelPlayer::Close()
{
    if (!m_bCreated)
        return false;
    m_strUri.clear();
    m_suspended = CSuspended();
    Unprepare();
    return true;
}

// Stops the media and forgets everything pending but the notices already
// given: state 1 with media, 0 without.
void CModelPlayer::Unprepare()
{
    m_catalogue.CancelWait(m_ullHoldId);
    m_ullHoldId = 0;
    m_load.Cancel();
    m_end.Cancel();
    m_dry.Cancel();
    m_fail.Cancel();
    m_tick.Cancel();
    m_eLoad = ELoad::NONE;
    m_bRunning = false;
    m_llPositionUs = 0;
    m_llStartPosition = -1;
    m_bEnded = false;
    m_steps.Reset();
    m_eState = m_strUri.empty() ? PLAYER_STATE_NONE : PLAYER_STATE_IDLE;
}

// Reads the media. A file that is missing fails at once; the other failures
// only once the media has been read.
bool CModelPlayer::Start()
{
    m_media = m_catalogue.LookUp(m_strUri);
    m_network.Reset(m_media);
    if (m_llFirstReadUs < 0)
        m_llFirstReadUs = m_clock.NowUs();
    if (m_media.m_eError == EMediaError::MISSING) {
        Fail(m_media.m_eError);
        return false;
    }
    return true;
}

// The media failed: the error as a notice, the media still set, so that a
// later prepare tries again.
void CModelPlayer::Fail(EMediaError eError)
{
    std::string strText = ErrorText(eError);
    if (eError == EMediaError::HTTP_404 && m_media.m_strReason)
        strText = *m_media.m_strReason;
    Unprepare();
    Notify([this, eError, strText] { SendError(eError, strText); });
}

// A synchronous prepare cannot wait on the clock: it answers at once, and
// the buffer of network media fills after it.
bool CModelPlayer::Preroll()
{
    if (!Start())
        return false;
    // It would wait for ever: no release can come while it runs.
    if (m_media.m_bHold)
        return false;
    if (m_media.m_eError != EMediaError::NONE) {
        if (Buffers()) {
            Notify([this] { SendBuffering(0); });
            Notify([this] { SendBuffering(100); });
        }
        Fail(m_media.m_eError);
        return false;
    }
    m_llPositionUs = PrerollPositionUs();
    m_llStartPosition = -1;
    m_eState = PLAYER_STATE_READY;
    Load(ELoad::RESTART);
    return true;
}

bool CModelPlayer::Growing() const
{
    return m_media.m_ullEndListedAfterMs &&
           m_clock.NowUs() < m_llFirstReadUs + static_cast<long long>(*m_media.m_ullEndListedAfterMs) * 1000;
}

long long CModelPlayer::PrerollPositionUs() const
{
    if (m_llStartPosition <= 0 || !CanSeek())
        return 0;
    long long llStartUs = m_llStartPosition * 1000;
    return HasDuration() ? std::min(llStartUs, DurationUs()) : llStartUs;
}

bool CModelPlayer::Prepare()
{
    if (!m_bCreated || m_eState == PLAYER_STATE_NONE || m_eLoad == ELoad::PREPARE)
        return false;
    if (m_eState != PLAYER_STATE_IDLE)
        return true;
    return Preroll();
}

bool CModelPlayer::PrepareAsync()
{
    if (!m_bCreated || m_eState == PLAYER_STATE_NONE)
        return false;
    if (m_eState != PLAYER_STATE_IDLE) {
        Notify([this] { SendCompletion(KITE_BRIDGE_PREPARE_COMPLETE); });
        return true;
    }
    if (m_eLoad == ELoad::PREPARE)
        return true;
    if (!Start())
        return false;
    m_llPositionUs = PrerollPositionUs();
    Load(ELoad::PREPARE);
    return true;
}

void CModelPlayer::Load(ELoad ePurpose)
{
    // A file is at its start again at once.
    if (ePurpose == ELoad::RESTART && !Buffers())
        return;
    m_eLoad = ePurpose;
    if (Buffers()) {
        // The buffer is emptied: the levels start over, whatever was sent.
        m_steps.Reset();
        Notify([this] { SendBuffering(0); });
    }
    if (ePurpose == ELoad::PREPARE && m_media.m_bHold) {
        m_ullHoldId = m_catalogue.WaitForRelease(m_strUri, [this] {
            m_ullHoldId = 0;
            Fetch();
        });
        return;
    }
    Fetch();
}

void CModelPlayer::Fetch()
{
    if (Buffers()) {
        m_llLoadStartUs = m_clock.NowUs();
        // A stall waits for the reading that goes on; the others read anew.
        if (m_eLoad != ELoad::STALL) {
            m_fail.Cancel();
            const long long llFailUs = m_network.UntilFailureUs(m_llPositionUs);
            if (llFailUs != CModelNetwork::NEVER)
                m_fail.At(m_llLoadStartUs + llFailUs, [this] { Fail(m_media.m_failure->m_eError); });
        }
        ScheduleLevel(-1);
    } else if (!m_load.IsPending()) {
        // Seeks in a row land with the first.
        m_load.At(m_clock.NowUs(), [this] { EndLoad(); });
    }
}

void CModelPlayer::ScheduleLevel(long long llAfterUs)
{
    const long long llNextUs = m_network.NextLevelUs(m_llPositionUs, llAfterUs);
    m_load.At(m_llLoadStartUs + llNextUs, [this, llNextUs] { OnLevel(llNextUs); });
}

void CModelPlayer::OnLevel(long long llElapsedUs)
{
    const int iLevel = m_network.LevelAt(m_llPositionUs, llElapsedUs);
    SendBuffering(iLevel);
    if (iLevel < 100)
        ScheduleLevel(llElapsedUs);
    else
        EndLoad();
}

void CModelPlayer::EndLoad()
{
    const ELoad ePurpose = m_eLoad;
    m_eLoad = ELoad::NONE;
    if (ePurpose == ELoad::PREPARE) {
        if (m_media.m_eError != EMediaError::NONE) {
            Fail(m_media.m_eError);
            return;
        }
        m_llStartPosition = -1;
        m_eState = PLAYER_STATE_READY;
    }
    m_network.Fill(m_llPositionUs, m_clock.NowUs());
    if (ePurpose == ELoad::PREPARE)
        SendCompletion(KITE_BRIDGE_PREPARE_COMPLETE);
    else if (ePurpose == ELoad::SEEK)
        SendCompletion(KITE_BRIDGE_SEEK_COMPLETE);
    if (m_eState == PLAYER_STATE_PLAYING)
        RunFrom(m_llPositionUs);
}

bool CModelPlayer::SetStreamingProperty(const std::string& strType, const std::string&)
{
    return strType == USER_AGENT_PROPERTY;
}

long long CModelPlayer::PositionUs() const
{
    long long llPositionUs = m_llPositionUs;
    if (m_bRunning)
        llPositionUs += m_clock.NowUs() - m_llRunningSinceUs;
    return HasDuration() ? std::min(llPositionUs, DurationUs()) : llPositionUs;
}

// Plays on from the position until the end, a dry buffer or the failure,
// whichever comes first; the current time every TICK_US.
void CModelPlayer::RunFrom(long long llPositionUs)
{
    const long long llNowUs = m_clock.NowUs();
    m_llPositionUs = llPositionUs;
    m_network.Settle(llPositionUs, llNowUs);
    m_llRunningSinceUs = llNowUs;
    m_bRunning = true;
    // At the same time, the stall comes before the end.
    const long long llDryUs = m_network.PlayableUs(llPositionUs);
    if (llDryUs != CModelNetwork::NEVER) {
        m_dry.At(llNowUs + llDryUs, [this] {
            Hold();
            Load(ELoad::STALL);
        });
    }
    if (HasDuration())
        m_end.At(llNowUs + std::max(0LL, DurationUs() - llPositionUs), [this] { OnEndOfStream(); });
    m_tick.At(llNowUs + TICK_US, [this] { Tick(); });
}

void CModelPlayer::Hold()
{
    m_llPositionUs = PositionUs();
    if (m_bRunning)
        m_network.Settle(m_llPositionUs, m_clock.NowUs());
    m_bRunning = false;
    m_end.Cancel();
    m_dry.Cancel();
    m_tick.Cancel();
}

bool CModelPlayer::Pause()
{
    if (m_eState == PLAYER_STATE_PAUSED)
        return true;
    if (m_eState != PLAYER_STATE_PLAYING)
        return false;
    Hold();
    m_eState = PLAYER_STATE_PAUSED;
    return true;
}

bool CModelPlayer::Play()
{
    if (m_eState == PLAYER_STATE_PLAYING)
        return true;
    if (m_eState != PLAYER_STATE_READY && m_eState != PLAYER_STATE_PAUSED)
        return false;
    m_eState = PLAYER_STATE_PLAYING;
    if (m_bEnded) {
        m_bEnded = false;
        m_llPositionUs = 0;
        Load(ELoad::RESTART);
    }
    // Playback waits for the data being fetched.
    if (m_eLoad == ELoad::NONE)
        RunFrom(m_llPositionUs);
    return true;
}

bool CModelPlayer::Stop()
{
    if (m_eState != PLAYER_STATE_READY && m_eState != PLAYER_STATE_PLAYING && m_eState != PLAYER_STATE_PAUSED)
        return false;
    Hold();
    m_load.Cancel();
    m_eLoad = ELoad::NONE;
    m_bEnded = false;
    m_eState = PLAYER_STATE_READY;
    m_llPositionUs = 0;
    Load(ELoad::RESTART);
    return true;
}

// The position is the target at once; the landing follows, and a seek made
// before it has come lands with it.
void CModelPlayer::SeekWithin(long long llPositionUs)
{
    Hold();
    m_llPositionUs = llPositionUs;
    m_bEnded = false;
    Load(ELoad::SEEK);
}

bool CModelPlayer::SeekTo(long lMilliseconds)
{
    if (m_eState < PLAYER_STATE_READY || lMilliseconds < 0 || !CanSeek())
        return false;
    const long long llTargetUs = static_cast<long long>(lMilliseconds) * 1000;
    if (HasDuration() && llTargetUs > DurationUs())
        return false;
    SeekWithin(llTargetUs);
    return true;
}

bool CModelPlayer::Skip(int iMilliseconds)
{
    if (m_eState < PLAYER_STATE_READY || !CanSeek())
        return false;
    // From the position as a query answers it, so that skips add up as the
    // script counts them.
    long long llTargetUs = std::max(0LL, (PositionUs() / 1000 + iMilliseconds) * 1000);
    if (HasDuration())
        llTargetUs = std::min(llTargetUs, DurationUs());
    SeekWithin(llTargetUs);
    return true;
}

bool CModelPlayer::GetDuration(unsigned long& ulMilliseconds) const
{
    if (m_eState < PLAYER_STATE_READY || !HasDuration() || !m_media.m_bLengthKnown || Growing())
        return false;
    ulMilliseconds = static_cast<unsigned long>(DurationUs() / 1000);
    return true;
}

bool CModelPlayer::GetPosition(unsigned long long& ullMilliseconds) const
{
    if (m_eState < PLAYER_STATE_READY)
        return false;
    ullMilliseconds = static_cast<unsigned long long>(PositionUs() / 1000);
    return true;
}

void CModelPlayer::OnEndOfStream()
{
    if (m_eState != PLAYER_STATE_PLAYING)
        return;
    Hold();
    m_llPositionUs = DurationUs();
    m_bEnded = true;
    m_eState = PLAYER_STATE_READY;
    SendCompletion(KITE_BRIDGE_PLAY_COMPLETE);
}

void CModelPlayer::Tick()
{
    if (m_eState != PLAYER_STATE_PLAYING)
        return;
    m_tick.At(m_clock.NowUs() + TICK_US, [this] { Tick(); });
    if (m_bEventsEnabled)
        m_backend.FireCurrentTime(static_cast<unsigned long long>(PositionUs() / 1000));
    if (!m_bAnalysis || !m_bEventsEnabled)
        return;
    std::vector<int> aBands = m_media.m_aBands;
    if (aBands.empty())
        aBands.assign(SILENT_BANDS, 0);
    m_backend.FireSoundAnalysis(aBands.data(), static_cast<int>(aBands.size()));
}

bool CModelPlayer::Suspend()
{
    if (!m_bCreated || m_eState == PLAYER_STATE_NONE)
        return false;
    if (m_suspended.m_bValid && m_eState == PLAYER_STATE_IDLE)
        return true;
    CSuspended suspended;
    suspended.m_bValid = true;
    suspended.m_strUri = m_strUri;
    suspended.m_eState = m_eState;
    suspended.m_llPosition = m_eState >= PLAYER_STATE_READY ? PositionUs() / 1000 : std::max(m_llStartPosition, 0LL);
    Unprepare();
    m_suspended = suspended;
    return true;
}

bool CModelPlayer::Restore(const std::string& strMedia, long lMilliseconds, bool bPrepare)
{
    if (!m_bCreated)
        return false;
    const CSuspended suspended = m_suspended;
    std::string strUri = strMedia;
    if (strUri.empty())
        strUri = suspended.m_bValid ? suspended.m_strUri : m_strUri;
    long long llStart = lMilliseconds;
    if (llStart < 0)
        llStart = suspended.m_bValid ? suspended.m_llPosition : 0;
    if (!SetUri(strUri))
        return false;
    m_llStartPosition = llStart > 0 ? llStart : -1;
    if (!bPrepare)
        return true;
    if (!Preroll())
        return false;
    if (suspended.m_bValid && suspended.m_eState == PLAYER_STATE_PLAYING)
        return Play();
    if (suspended.m_bValid && suspended.m_eState == PLAYER_STATE_PAUSED)
        m_eState = PLAYER_STATE_PAUSED;
    return true;
}

bool CModelPlayer::SetSoundAnalysis(bool bOn)
{
    m_bAnalysis = bOn;
    return true;
}

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI
