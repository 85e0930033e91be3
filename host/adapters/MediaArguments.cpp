// sim.media's description of a medium, with an error naming the field for
// each misuse.
#include "adapters/SimArguments.h"

#include <climits>
#include <cmath>

namespace Kite {

using namespace DeviceAPI::Cinecast;

namespace {

using Model::EMediaError;
using Model::EMediaKind;

const char* const NETWORK_KINDS = "network kinds: 'http', 'hls' and 'dash'";
const char* const SEGMENTED_KINDS = "kinds 'hls' and 'dash'";
const unsigned long long DEFAULT_SEGMENT_MS = 2000;

}  // namespace

bool CSimArguments::optionalBoolean(v8::Local<v8::Value> value, const char* szName, bool bDefault) const
{
    if (value->IsUndefined())
        return bDefault;
    if (!value->IsBoolean())
        Fail(Bridge::ScriptError::TYPE_ERROR, std::string(szName) + " must be true or false");
    return value->IsTrue();
}

std::size_t CSimArguments::oneOf(v8::Local<v8::Value> value, std::initializer_list<const char*> aNames,
                                    const std::string& strWhat) const
{
    std::string strValue = value->IsString() ? *Bridge::Compat::Utf8Value(Isolate(), value) : "";
    std::string strNames;
    std::size_t uFound = aNames.size();
    std::size_t n = 0;
    for (const char* szName : aNames) {
        strNames += std::string(strNames.empty() ? "" : ", ") + "'" + szName + "'";
        if (value->IsString() && strValue == szName)
            uFound = n;
        ++n;
    }
    if (uFound == aNames.size())
        Fail(value->IsString() ? Bridge::ScriptError::RANGE_ERROR : Bridge::ScriptError::TYPE_ERROR,
             strWhat + " must be one of " + strNames);
    return uFound;
}

// `network: true` is the older way to say kind 'http'.
EMediaKind CSimArguments::mediaKind(v8::Local<v8::Object> object) const
{
    static const EMediaKind KINDS[] = {EMediaKind::FILE, EMediaKind::HTTP, EMediaKind::HLS, EMediaKind::DASH};
    static const char* const KIND_NAMES[] = {"file", "http", "hls", "dash"};
    v8::Local<v8::Value> kind = Property(object, "kind");
    v8::Local<v8::Value> network = Property(object, "network");
    if (!network->IsUndefined() && !network->IsBoolean())
        Fail(Bridge::ScriptError::TYPE_ERROR, "network must be true or false");
    if (kind->IsUndefined())
        return network->IsTrue() ? EMediaKind::HTTP : EMediaKind::FILE;
    std::size_t uKind = oneOf(kind, {"file", "http", "hls", "dash"}, "kind");
    if (!network->IsUndefined() && network->IsTrue() != (KINDS[uKind] != EMediaKind::FILE))
        Fail(Bridge::ScriptError::RANGE_ERROR, std::string("network: ") + (network->IsTrue() ? "true" : "false") +
                                                   " contradicts kind '" + KIND_NAMES[uKind] + "'");
    return KINDS[uKind];
}

v8::Local<v8::Value> CSimArguments::kindField(v8::Local<v8::Object> object, const char* szName, bool bAllowed,
                                                 const char* szKinds) const
{
    v8::Local<v8::Value> value = Property(object, szName);
    if (!value->IsUndefined() && !bAllowed)
        Fail(Bridge::ScriptError::RANGE_ERROR, std::string(szName) + " is for " + szKinds);
    return value;
}

void CSimArguments::networkFields(v8::Local<v8::Object> object, Model::CMedia& media) const
{
    const bool bNetwork = media.IsNetwork();
    v8::Local<v8::Value> latency = kindField(object, "latency", bNetwork, NETWORK_KINDS);
    if (!latency->IsUndefined())
        media.m_ullLatencyMs = Unsigned(latency, INT_MAX, "latency");
    v8::Local<v8::Value> bandwidth = kindField(object, "bandwidth", bNetwork, NETWORK_KINDS);
    if (!bandwidth->IsUndefined()) {
        double dBandwidth = bandwidth->IsNumber() ? bandwidth.As<v8::Number>()->Value() : 0;
        if (!bandwidth->IsNumber() || !(dBandwidth > 0) || !std::isfinite(dBandwidth))
            Fail(bandwidth->IsNumber() ? Bridge::ScriptError::RANGE_ERROR : Bridge::ScriptError::TYPE_ERROR,
                 "bandwidth must be a finite number above 0");
        media.m_dBandwidth = dBandwidth;
    }
}

// Where playback meets a failure: a media time, or the start of a segment.
void CSimArguments::failure(v8::Local<v8::Object> object, Model::CMedia& media,
                               unsigned long long ullSegmentMs) const
{
    v8::Local<v8::Value> fail = kindField(object, "fail", media.IsNetwork(), NETWORK_KINDS);
    if (fail->IsUndefined())
        return;
    const char* const SHAPE = "fail must be an object { at, error } or { segment, error }";
    if (!fail->IsObject())
        Fail(Bridge::ScriptError::TYPE_ERROR, SHAPE);
    v8::Local<v8::Object> failObject = fail.As<v8::Object>();
    v8::Local<v8::Value> at = Property(failObject, "at");
    const bool bSegmented = media.m_eKind == EMediaKind::HLS || media.m_eKind == EMediaKind::DASH;
    v8::Local<v8::Value> segment = Property(failObject, "segment");
    if (!segment->IsUndefined() && !bSegmented)
        Fail(Bridge::ScriptError::RANGE_ERROR, std::string("fail.segment is for ") + SEGMENTED_KINDS);
    if (at->IsUndefined() == segment->IsUndefined())
        Fail(Bridge::ScriptError::TYPE_ERROR, SHAPE);
    Model::CMediaFailure stFailure;
    std::string strWhere;
    if (!at->IsUndefined()) {
        stFailure.m_ullAtMs = Unsigned(at, INT_MAX, "fail.at");
        strWhere = "fail.at must be";
    } else {
        stFailure.m_ullAtMs = Unsigned(segment, INT_MAX, "fail.segment") * ullSegmentMs;
        strWhere = "fail.segment must start";
        if (stFailure.m_ullAtMs > INT_MAX)
            Fail(Bridge::ScriptError::RANGE_ERROR, strWhere + " within 2147483647 ms");
    }
    if (media.m_ullDurationMs && stFailure.m_ullAtMs >= *media.m_ullDurationMs)
        Fail(Bridge::ScriptError::RANGE_ERROR, strWhere + " before the duration");
    static const EMediaError ERRORS[] = {EMediaError::DROPPED, EMediaError::HTTP_404};
    stFailure.m_eError = ERRORS[oneOf(Property(failObject, "error"), {"dropped", "http-404"}, "fail.error")];
    media.m_failure = stFailure;
}

Model::CMedia CSimArguments::Media(int iIndex) const
{
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsObject())
        Fail(Bridge::ScriptError::TYPE_ERROR,
             "the media must be described by an object {duration, seekable, network, error, bands}");
    v8::Local<v8::Object> object = value.As<v8::Object>();
    Model::CMedia media;
    media.m_eKind = mediaKind(object);
    const bool bHttp = media.m_eKind == EMediaKind::HTTP;
    const bool bSegmented = media.m_eKind == EMediaKind::HLS || media.m_eKind == EMediaKind::DASH;

    v8::Local<v8::Value> duration = Property(object, "duration");
    // What a query can answer: a signed 32-bit count of milliseconds.
    if (!duration->IsUndefined())
        media.m_ullDurationMs = Unsigned(duration, INT_MAX, "duration");
    v8::Local<v8::Value> seekable = Property(object, "seekable");
    media.m_bSeekable = optionalBoolean(seekable, "seekable", true);

    const bool bRanges = optionalBoolean(kindField(object, "ranges", bHttp, "kind 'http'"), "ranges", true);
    media.m_bLengthKnown = optionalBoolean(kindField(object, "length", bHttp, "kind 'http'"), "length", true);
    if (!media.m_bLengthKnown && !media.m_ullDurationMs)
        Fail(Bridge::ScriptError::TYPE_ERROR, "duration must be given when length is false");

    v8::Local<v8::Value> live = kindField(object, "live", media.m_eKind == EMediaKind::HLS, "kind 'hls'");
    bool bLive = false;  // without an end, ever
    if (!live->IsUndefined()) {
        const char* const SHAPE = "live must be true, false, { window } or { ends }";
        if (live->IsObject()) {
            v8::Local<v8::Value> window = Property(live.As<v8::Object>(), "window");
            v8::Local<v8::Value> ends = Property(live.As<v8::Object>(), "ends");
            if (window->IsUndefined() == ends->IsUndefined())
                Fail(Bridge::ScriptError::TYPE_ERROR, SHAPE);
            if (!ends->IsUndefined()) {
                if (!media.m_ullDurationMs)
                    Fail(Bridge::ScriptError::TYPE_ERROR, "duration must be given with live.ends");
                media.m_ullEndListedAfterMs = Unsigned(ends, INT_MAX, "live.ends");
            } else {
                bLive = true;
                media.m_ullWindowMs = static_cast<unsigned long long>(Signed(window, 1, INT_MAX, "live.window"));
            }
        } else if (live->IsBoolean()) {
            bLive = live->IsTrue();
        } else {
            Fail(Bridge::ScriptError::TYPE_ERROR, SHAPE);
        }
        if (bLive && media.m_ullDurationMs)
            Fail(Bridge::ScriptError::RANGE_ERROR, "live media have no duration");
    }
    if (!bRanges || !media.m_bLengthKnown || bLive) {
        if (seekable->IsTrue())
            Fail(Bridge::ScriptError::RANGE_ERROR,
                 "seekable cannot be true on media that cannot seek (ranges: false, length: false or live)");
        media.m_bSeekable = false;
    }

    unsigned long long ullSegmentMs = DEFAULT_SEGMENT_MS;
    v8::Local<v8::Value> segment = kindField(object, "segment", bSegmented, SEGMENTED_KINDS);
    if (!segment->IsUndefined())
        ullSegmentMs = static_cast<unsigned long long>(Signed(segment, 1, INT_MAX, "segment"));
    networkFields(object, media);
    failure(object, media, ullSegmentMs);
    media.m_bHold = optionalBoolean(Property(object, "hold"), "hold", false);

    v8::Local<v8::Value> error = Property(object, "error");
    if (!error->IsUndefined()) {
        static const EMediaError ERRORS[] = {EMediaError::MISSING, EMediaError::NOT_MEDIA, EMediaError::UNSUPPORTED,
                                             EMediaError::HTTP_404, EMediaError::REFUSED};
        media.m_eError = ERRORS[oneOf(error, {"missing", "not-media", "unsupported", "http-404", "refused"}, "error")];
    }
    v8::Local<v8::Value> reason = Property(object, "reason");
    if (!reason->IsUndefined()) {
        if (!reason->IsString())
            Fail(Bridge::ScriptError::TYPE_ERROR, "reason must be a string");
        if (media.m_eError != EMediaError::HTTP_404 &&
            !(media.m_failure && media.m_failure->m_eError == EMediaError::HTTP_404))
            Fail(Bridge::ScriptError::RANGE_ERROR, "reason needs error 'http-404' or a fail with error 'http-404'");
        Bridge::Compat::Utf8Value utf8(Isolate(), reason);
        media.m_strReason = std::string(*utf8, utf8.length());
    }

    v8::Local<v8::Value> aBands = Property(object, "bands");
    if (!aBands->IsUndefined()) {
        media.m_aBands = bands(aBands, "bands must be an array of integers");
        for (int iBand : media.m_aBands) {
            if (iBand < 0 || iBand > 100)
                Fail(Bridge::ScriptError::RANGE_ERROR, "each band must be an integer from 0 to 100");
        }
    }
    return media;
}

}  // namespace Kite
