// The model player: adapters that behave as the GStreamer player does (the
// same answers in the same states, the same events in the same order with
// the same texts) without playing anything, on a clock the host provides.
// With a virtual clock a two-hour film ends as soon as the host moves the
// clock two hours on.
//
// Media are described by the host (CMediaCatalogue::Describe); a URL without a
// description behaves as a missing file. Units, states and events are those
// of the GStreamer player (Cinecast/GstAdapter.h): milliseconds, states 0 to
// 4, the current time every 100 ms of play, sound-analysis bands then too
// while party mode is on, the end of the stream, seeks and skips held to the
// media and completed together when they come in a row, refused on media
// that cannot seek; one that lands at the end while playing completes before
// the end of the stream comes. Stop, and play after the end, start every
// medium again from 0.
//
// Network media (any kind but a file) come through a buffer of 2 s of media
// that the network fills at its bandwidth after its latency: each prepare,
// seek, skip, stop and replay has a buffering period (levels from 0 to 100,
// as CBufferingSteps admits them) before it completes; a synchronous
// prepare, which cannot wait on the clock, answers at once and its period
// follows. A buffer that runs dry while playing holds playback for another
// period. Media that cannot seek back are opened again on stop and replay.
// The player reads on past what the buffer needs, as GStreamer's queues do:
// a failure described at a media time comes as an error once the reading
// from the last prepare, seek or restart reaches it, after the latency and
// at the bandwidth (at once when unlimited). A held medium's asynchronous
// prepare waits for its release;
// a synchronous prepare of it is refused.
#ifndef CINECAST_MODEL_ADAPTER_H
#define CINECAST_MODEL_ADAPTER_H

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace DeviceAPI {
namespace Cinecast {

class CAdapterBackend;
class CPlayerRegistry;
namespace Model {

// The time the model's players live on: the host's main loop and clock.
class CModelClock {
public:
    virtual ~CModelClock() = default;
    // Microseconds on the host's clock; they never go back.
    virtual long long NowUs() = 0;
    // Calls fn on the thread of the adapters' calls once the clock reaches
    // llDueUs (at once after the caller returns when it already has),
    // unless cancelled first. Answers an id other than 0.
    virtual unsigned long long At(long long llDueUs, std::function<void()> fn) = 0;
    // Ids already run or cancelled are ignored.
    virtual void Cancel(unsigned long long ullId) = 0;
};

// How media fail, each as the GStreamer player fails on it.
enum class EMediaError {
    NONE,
    MISSING,      // a file that does not exist (also any URL not described)
    NOT_MEDIA,    // a file that is no media, such as text
    UNSUPPORTED,  // media of a kind no decoder is installed for
    HTTP_404,     // an HTTP server that answers 404
    REFUSED,      // an HTTP server that refuses the connection
    DROPPED,      // the server closes the connection and cannot go on from there
};

// Where the media come from.
enum class EMediaKind {
    FILE,
    HTTP,
    HLS,
    DASH,
};

// A failure of the network that playback meets at a media time.
struct CMediaFailure {
    unsigned long long m_ullAtMs = 0;
    EMediaError m_eError = EMediaError::DROPPED;  // DROPPED or HTTP_404
};

struct CMedia {
    // Milliseconds, the real length; none for media that never end, such as
    // a live stream.
    std::optional<unsigned long long> m_ullDurationMs;
    // False also for HTTP without byte ranges or without a length, and live.
    bool m_bSeekable = true;
    EMediaKind m_eKind = EMediaKind::FILE;
    // HTTP without a Content-Length: the duration is not told, the media
    // still end at theirs.
    bool m_bLengthKnown = true;
    // Network media only: the time before the first byte of each buffering
    // period, and the share of the media's bit rate the network delivers
    // (0: unlimited).
    unsigned long long m_ullLatencyMs = 0;
    double m_dBandwidth = 0;
    // The most media the buffer can hold: less than its 2 s for a live
    // playlist of a shorter window (0: the buffer's own size).
    unsigned long long m_ullWindowMs = 0;
    // An HLS event playlist, which grows and lists its end this long after
    // the player first reads it: until then its length is unknown and it
    // cannot seek; from then on it is on demand.
    std::optional<unsigned long long> m_ullEndListedAfterMs;
    std::optional<CMediaFailure> m_failure;
    // A prepare_async waits for CMediaCatalogue::Release.
    bool m_bHold = false;
    EMediaError m_eError = EMediaError::NONE;
    // The reason phrase of a 404; ErrorText's when none.
    std::optional<std::string> m_strReason;
    // What each sound-analysis event carries while the media plays: 16
    // values from 0 to 100 (silence, all 0, when left empty).
    std::vector<int> m_aBands;

    bool IsNetwork() const { return m_eKind != EMediaKind::FILE; }
};

// What the host has told the model's players of one run: the media at each
// URL, and the prepares that wait for a held medium's release. The host
// keeps it alive while any adapter made with it exists.
class CMediaCatalogue {
public:
    // Describes the media at a URL, the string given to setUri, for every
    // adapter from its next prepare on.
    void Describe(const std::string& strUrl, const CMedia& media);
    // Every description so far, by URL, and a way to put such a set back in
    // place of all of them: a host that runs tests one after another forgets
    // what each test described.
    std::map<std::string, CMedia> Described() const;
    void Replace(std::map<std::string, CMedia> mapMedia);
    // Lets the held prepares of the media at strUrl, those waiting now, go
    // on; answers how many there were.
    std::size_t Release(const std::string& strUrl);
    // The URLs that prepares wait on for Release, each once, in the order
    // their first wait began.
    std::vector<std::string> HeldUrls() const;

    // The players' side: the description of the media at strUrl (a missing
    // file when there is none); fn runs once Release(strUrl) is called,
    // unless the wait is cancelled first (the id is never 0; ids already
    // released or cancelled are ignored).
    CMedia LookUp(const std::string& strUrl) const;
    unsigned long long WaitForRelease(const std::string& strUrl, std::function<void()> fn);
    void CancelWait(unsigned long long ullId);

private:
    struct CWait {
        std::string m_strUrl;
        std::function<void()> m_fn;
    };

    mutable std::mutex m_lock;
    std::map<std::string, CMedia> m_mapMedia;
    std::map<unsigned long long, CWait> m_mapWaits;  // by id, so in the order they began
    unsigned long long m_ullNextWait = 1;
};

// The backend of one model adapter on the run's clock and media, which the
// host keeps alive while the adapter exists; made by the factory the host
// gives SetBackendFactory. The adapter takes the next number of the host's
// players (Sim::CPlayers::Registry()), so their calls and emit reach it too.
CAdapterBackend* CreateBackend(CModelClock& clock, CMediaCatalogue& media, CPlayerRegistry& registry);

// The error texts the GStreamer player sends.
const char* ErrorText(EMediaError eError);

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
