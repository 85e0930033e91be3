// What the main loop calls later, on one time line: the script's timers and
// intervals and the players' own timed work (the model player's events) by
// due time on the run's clock (Clock.h), and kite.afterIdle calls after the
// events queued before them. After each timer or timed event, the events and
// afterIdle calls it queued are delivered before the next one runs.
#ifndef KITE_SCHEDULED_CALLS_H
#define KITE_SCHEDULED_CALLS_H

#include <Cinecast/ModelAdapter.h>
#include <glib.h>

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <v8.h>
#include <vector>

#include "runtime/KiteRun.h"

namespace Kite {

// The main loop's priority of kite.afterIdle: that of the plug-ins' event
// records, so an afterIdle call runs after every record queued before it.
const int AFTER_IDLE_PRIORITY = 150;

// The run's time line, and the model players' clock.
class CScheduledCalls : public DeviceAPI::Cinecast::Model::CModelClock {
public:
    // The run's (CKiteRun::m_pSchedule) until it goes; what is still pending
    // then is dropped.
    explicit CScheduledCalls(CKiteRun& run);
    ~CScheduledCalls() override;
    // The time line of the run that a script callback is called in.
    static CScheduledCalls& Of(v8::Isolate* pIsolate);

    // The script's timer (once) or interval (every llDelayUs, at least a
    // millisecond); answers its id.
    unsigned long long AddTimer(v8::Local<v8::Function> function, const std::vector<v8::Local<v8::Value>>& aArguments,
                                gint64 llDelayUs, bool bInterval);
    // Ends a timer or an interval; any other id is ignored.
    void ClearTimer(double dId);
    void AddAfterIdle(v8::Local<v8::Function> function);

    // The model players' work, on the main loop's thread. It does not keep
    // the run going.
    long long NowUs() override;
    unsigned long long At(long long llDueUs, std::function<void()> fn) override;
    // Unknown or finished ids are ignored.
    void Cancel(unsigned long long ullId) override;

    // Virtual time only: runs in time order everything that falls due within
    // llMs milliseconds, delivering the events each queues, and leaves the
    // clock llMs later. False with a reason when it cannot (inside another
    // move of the clock).
    bool Advance(double dMs, std::string& strError);

    // A condition that RunUntil checks: false when it threw (the exception
    // is then pending in the caller's TryCatch), else bHolds says whether it
    // holds.
    typedef std::function<bool(bool& bHolds)> CCondition;
    enum class EStop { DONE, LIMIT, CONDITION_HOLDS, CONDITION_THREW, REFUSED };
    // Virtual time only: runs everything scheduled, in time order, until
    // nothing is; the clock stays at the last call's time. LIMIT once
    // uMaxCalls timed calls have run and more are scheduled. uCalls counts
    // the timed calls run.
    EStop RunAll(std::size_t uMaxCalls, std::size_t& uCalls, std::string& strError);
    // Virtual time only: checks the condition, then again after each timed
    // call with the events it queued, and stops where it holds; LIMIT with
    // the clock llMs later when it never did.
    EStop RunUntil(const CCondition& condition, double dMs, std::string& strError);

    enum class EKind { TIMEOUT, INTERVAL, PLAYER, AFTER_IDLE };
    // As sim.pending names them: "timeout", "interval", "player", "afterIdle".
    static const char* KindName(EKind eKind);
    struct CPending {
        EKind m_eKind;
        gint64 m_llAtUs;              // on the run's clock; afterIdle calls: now
        unsigned long long m_ullId;  // as setTimeout and setInterval answered it
        gint64 m_llEveryUs;           // intervals: their period
    };
    // What is scheduled, in the order it would run: timed calls due now,
    // afterIdle calls, then the later ones by due time.
    std::vector<CPending> Pending() const;

    // The script's timers, intervals and afterIdle calls that have not run yet.
    std::size_t PendingScriptCalls() const;
    // True when something can run without the clock moving: an afterIdle
    // call, or a timer or timed event already due.
    bool HasWorkDueNow() const;
    // Drops every pending call without running it.
    void CancelAll();

private:
    struct CCall;
    struct CClockSource;
    typedef std::map<unsigned long long, std::unique_ptr<CCall>> CCalls;
    // Due time, then the order of scheduling: equal due times run first
    // come, first served.
    typedef std::pair<gint64, unsigned long long> CTimelineKey;

    CScheduledCalls(const CScheduledCalls&) = delete;
    CScheduledCalls& operator=(const CScheduledCalls&) = delete;

    static gboolean ClockPrepare(GSource* pSource, gint* piTimeout);
    static gboolean ClockCheck(GSource* pSource);
    static gboolean ClockDispatch(GSource* pSource, GSourceFunc, gpointer);
    static gboolean RunAfterIdle(gpointer pCall);

    CCall& NewCall(EKind eKind);
    std::unique_ptr<CCall> Take(CCalls::iterator it);
    void AddToTimeline(CCall& call, gint64 llDue);
    void RemoveFromTimeline(const CCall& call);
    bool FirstDue(gint64& llDue) const;
    void EnsureClockSource();
    void RunMicrotasks();
    void Invoke(const CCall& call);
    void RunFirstTimed();
    void DeliverQueued();
    // The clock's move, in time order up to llTargetUs; see RunUntil.
    EStop Move(const char* pszMover, gint64 llTargetUs, bool bStayAtLast, std::size_t uMaxCalls,
               const CCondition* pCondition, std::size_t& uCalls, std::string& strError);

    CKiteRun& m_run;
    // Every pending call by id (the id a script sees for timers and intervals).
    CCalls m_calls;
    // The timed ones, by when they fall due.
    std::map<CTimelineKey, unsigned long long> m_timeline;
    unsigned long long m_ullNextId = 1;
    unsigned long long m_ullNextOrder = 1;
    std::size_t m_uScriptCalls = 0;
    CClockSource* m_pClockSource = nullptr;
    // The sim function that moves the clock now, if one does.
    const char* m_pszMover = nullptr;
};

}  // namespace Kite

#endif
