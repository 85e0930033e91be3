#include "Bridge/ThreadSafeCall.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "Bridge/KiteException.h"
#include "Bridge/NativeCallScope.h"
#include "Bridge/ScriptArray.h"
#include "IsolateData.h"
#include "ScriptCall.h"

namespace Bridge {

enum EItem { ITEM_NO_ARGUMENT, ITEM_TEXT, ITEM_CALL, ITEM_FINISH };

// One post on its way to the main loop.
struct CThreadCallItem {
    EItem m_eKind = ITEM_NO_ARGUMENT;
    std::string m_strArgument;
    ThreadSafeCall::Call m_call;
};

struct CThreadCallState : std::enable_shared_from_this<CThreadCallState> {
    CThreadCallState(void* pOwner, CThreadCalls* pCalls, const ScriptFunction& function, std::size_t uMaxQueue,
                     std::function<void()> finalize)
        : m_pOwner(pOwner),
          m_post(pCalls->Poster()),
          m_uMaxQueue(uMaxQueue),
          m_scriptThread(std::this_thread::get_id()),
          m_finalize(std::move(finalize)),
          m_function(function),
          m_pCalls(pCalls)
    {
    }

    void* const m_pOwner;
    const EventPoster m_post;
    const std::size_t m_uMaxQueue;
    const std::thread::id m_scriptThread;
    std::function<void()> m_finalize;

    // Script thread only.
    ScriptFunction m_function;
    // The owner's script object, while the call is ref'd.
    Compat::Global<v8::Object> m_held;
    bool m_bRef = true;
    // Null once the call no longer counts there: finished, or its owner gone.
    CThreadCalls* m_pCalls;

    // Under m_lock. Each item is handed to the main loop with one event,
    // whose data is the state: the delivery takes the lock before it reads
    // anything, so the item's hand-over does not rest on GLib's own lock,
    // which ThreadSanitizer cannot see.
    std::mutex m_lock;
    std::condition_variable m_cvChanged;
    std::deque<CThreadCallItem> m_aQueue;
    // The state itself while events for it are queued on the main loop.
    std::shared_ptr<CThreadCallState> m_pSelf;
    std::size_t m_uQueued = 0;  // posts in m_aQueue
    std::size_t m_uDropped = 0;
    bool m_bClosed = false;
    bool m_bOwnerGone = false;
    bool m_bFinished = false;

    std::atomic<int> m_iHandles{1};
};

namespace {

// Runs a plug-in's code from the main loop, where no caller takes what it
// throws: that becomes the script's uncaught error, raised as a router
// raises it (GuardNative); once the engine has detached, it is dropped.
template <class TBody>
void RunReported(TBody&& body, const char* pszWhere)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    if (pIsolate == nullptr || IsolateData::From(pIsolate) == nullptr) {
        try {
            body();
        } catch (...) {
        }
        return;
    }
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    Compat::TryCatch tryCatch(pIsolate);
    if (!GuardNative(pIsolate, body, pszWhere) && tryCatch.HasCaught())
        ReportUncaught(pIsolate, tryCatch);
}

void Run(CThreadCallState& state, CThreadCallItem& item)
{
    // A callback that destroys the owner does so once the call is over.
    NativeCallScope call(state.m_pOwner);
    // invoke reports what the script throws and throws nothing itself.
    if (item.m_eKind == ITEM_TEXT)
        state.m_function.invoke(item.m_strArgument);
    else if (item.m_eKind == ITEM_NO_ARGUMENT)
        state.m_function.invoke(ScriptArray());
    else
        RunReported([&state, &item] { item.m_call(state.m_function); }, "a thread-safe call");
}

// Script thread: the call stops holding its owner's object and the run.
void LetGo(CThreadCallState& state)
{
    state.m_held.Reset();
    state.m_function = ScriptFunction();
    if (state.m_pCalls != nullptr) {
        CThreadCalls* pCalls = state.m_pCalls;
        state.m_pCalls = nullptr;
        pCalls->Remove(&state);
    }
}

// Script thread: a ref'd call holds its owner's object once there is one.
void Hold(CThreadCallState& state, v8::Isolate* pIsolate, v8::Local<v8::Object> object)
{
    if (state.m_bRef && state.m_pCalls != nullptr && !object.IsEmpty())
        state.m_held.Reset(pIsolate, object);
}

// Main loop: the finalizer runs once nothing is queued after the close.
void FinishIfDone(CThreadCallState& state)
{
    {
        std::lock_guard<std::mutex> lock(state.m_lock);
        if (!state.m_bClosed || state.m_uQueued != 0 || state.m_bFinished)
            return;
        state.m_bFinished = true;
    }
    LetGo(state);
    std::function<void()> finalize = std::move(state.m_finalize);
    if (finalize)
        RunReported(finalize, "a thread-safe call's finalizer");
}

int Deliver(void* pData)
{
    CThreadCallState& state = *static_cast<CThreadCallState*>(pData);
    std::shared_ptr<CThreadCallState> pKeep;
    bool bRun = false;
    CThreadCallItem item;
    {
        std::lock_guard<std::mutex> lock(state.m_lock);
        item = std::move(state.m_aQueue.front());
        state.m_aQueue.pop_front();
        if (state.m_aQueue.empty())
            pKeep = std::move(state.m_pSelf);
        if (item.m_eKind != ITEM_FINISH) {
            --state.m_uQueued;
            state.m_cvChanged.notify_one();
            bRun = !state.m_bOwnerGone;
            if (!bRun)
                ++state.m_uDropped;
        }
    }
    if (bRun)
        Run(state, item);
    FinishIfDone(state);
    return 0;
}

// One item more for the main loop, posted under the state's lock (held by
// the caller), which the delivery takes first: GLib hands its source over
// with a futex that thread checkers cannot see, and the lock orders the
// source's memory for them too, as Tether's hand-over does. The caller keeps
// the state alive.
void Hand(CThreadCallState& state, CThreadCallItem&& item)
{
    state.m_aQueue.push_back(std::move(item));
    if (!state.m_pSelf)
        state.m_pSelf = state.shared_from_this();
    state.m_post(Deliver, &state);
}

// Any thread. Once closed, a call queues a last item to finish on the main
// loop when nothing else is queued to do it.
void Close(CThreadCallState& state, bool bOwnerGone)
{
    std::unique_lock<std::mutex> lock(state.m_lock);
    if (bOwnerGone)
        state.m_bOwnerGone = true;
    if (state.m_bClosed)
        return;
    state.m_bClosed = true;
    state.m_cvChanged.notify_all();
    if (state.m_uQueued == 0)
        Hand(state, CThreadCallItem{ITEM_FINISH, std::string(), ThreadSafeCall::Call()});
}

}  // namespace

CThreadCalls::~CThreadCalls()
{
    while (!m_aCalls.empty())
        OwnerGone(m_aCalls.back()->m_pOwner);
}

void CThreadCalls::Remove(const CThreadCallState* pState)
{
    auto it = std::find_if(m_aCalls.begin(), m_aCalls.end(),
                           [pState](const std::shared_ptr<CThreadCallState>& pCall) { return pCall.get() == pState; });
    if (it != m_aCalls.end())
        m_aCalls.erase(it);
}

void CThreadCalls::OwnerGone(void* pNative)
{
    // Most natives have no call: nothing to copy for them.
    if (std::none_of(m_aCalls.begin(), m_aCalls.end(),
                     [pNative](const std::shared_ptr<CThreadCallState>& pCall) { return pCall->m_pOwner == pNative; }))
        return;
    std::vector<std::shared_ptr<CThreadCallState>> aGone;
    for (const std::shared_ptr<CThreadCallState>& pCall : m_aCalls) {
        if (pCall->m_pOwner == pNative)
            aGone.push_back(pCall);
    }
    for (const std::shared_ptr<CThreadCallState>& pCall : aGone) {
        LetGo(*pCall);
        Close(*pCall, true);
    }
}

void CThreadCalls::OwnerTracked(v8::Isolate* pIsolate, void* pNative, v8::Local<v8::Object> object)
{
    for (const std::shared_ptr<CThreadCallState>& pCall : m_aCalls) {
        if (pCall->m_pOwner == pNative)
            Hold(*pCall, pIsolate, object);
    }
}

bool CThreadCalls::HoldsRun() const
{
    return std::any_of(m_aCalls.begin(), m_aCalls.end(),
                       [](const std::shared_ptr<CThreadCallState>& pCall) { return pCall->m_bRef; });
}

ThreadSafeCall::ThreadSafeCall() {}

ThreadSafeCall::ThreadSafeCall(void* pOwner, const ScriptFunction& function, std::size_t uMaxQueue,
                               std::function<void()> finalize)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    IsolateData* pData = pIsolate != nullptr ? IsolateData::From(pIsolate) : nullptr;
    if (pData == nullptr || pData->m_threadCalls.Poster() == nullptr)
        throw KiteJsRuntimeException("this host runs no thread-safe calls");
    m_pState = std::make_shared<CThreadCallState>(pOwner, &pData->m_threadCalls, function, uMaxQueue,
                                                  std::move(finalize));
    pData->m_threadCalls.Add(m_pState);
    v8::HandleScope scope(pIsolate);
    Hold(*m_pState, pIsolate, pData->m_objects.ObjectOf(pIsolate, pOwner));
}

ThreadSafeCall::ThreadSafeCall(const ThreadSafeCall& other) : m_pState(other.m_pState)
{
    if (m_pState)
        ++m_pState->m_iHandles;
}

ThreadSafeCall& ThreadSafeCall::operator=(const ThreadSafeCall& other)
{
    ThreadSafeCall copy(other);
    std::swap(m_pState, copy.m_pState);
    return *this;
}

ThreadSafeCall::~ThreadSafeCall()
{
    if (m_pState && --m_pState->m_iHandles == 0)
        Close(*m_pState, false);
}

ThreadSafeCall::EPost ThreadSafeCall::queue(bool bWait, int iKind, std::string&& strArgument, Call&& call)
{
    if (!m_pState)
        return POST_CLOSED;
    CThreadCallState& state = *m_pState;
    std::unique_lock<std::mutex> lock(state.m_lock);
    while (!state.m_bClosed && state.m_uMaxQueue != 0 && state.m_uQueued >= state.m_uMaxQueue) {
        // On the script thread no room would ever come.
        if (!bWait || std::this_thread::get_id() == state.m_scriptThread)
            return POST_QUEUE_FULL;
        state.m_cvChanged.wait(lock);
    }
    if (state.m_bClosed) {
        ++state.m_uDropped;
        return POST_CLOSED;
    }
    ++state.m_uQueued;
    Hand(state, CThreadCallItem{static_cast<EItem>(iKind), std::move(strArgument), std::move(call)});
    return POST_OK;
}

ThreadSafeCall::EPost ThreadSafeCall::post(Call call)
{
    return queue(true, ITEM_CALL, std::string(), std::move(call));
}

ThreadSafeCall::EPost ThreadSafeCall::tryPost(Call call)
{
    return queue(false, ITEM_CALL, std::string(), std::move(call));
}

ThreadSafeCall::EPost ThreadSafeCall::post(std::string strArgument)
{
    return queue(true, ITEM_TEXT, std::move(strArgument), Call());
}

ThreadSafeCall::EPost ThreadSafeCall::tryPost(std::string strArgument)
{
    return queue(false, ITEM_TEXT, std::move(strArgument), Call());
}

ThreadSafeCall::EPost ThreadSafeCall::post()
{
    return queue(true, ITEM_NO_ARGUMENT, std::string(), Call());
}

ThreadSafeCall::EPost ThreadSafeCall::tryPost()
{
    return queue(false, ITEM_NO_ARGUMENT, std::string(), Call());
}

void ThreadSafeCall::release()
{
    if (m_pState)
        Close(*m_pState, false);
}

std::size_t ThreadSafeCall::dropped() const
{
    if (!m_pState)
        return 0;
    std::lock_guard<std::mutex> lock(m_pState->m_lock);
    return m_pState->m_uDropped;
}

void ThreadSafeCall::ref()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    IsolateData* pData = pIsolate != nullptr ? IsolateData::From(pIsolate) : nullptr;
    if (!m_pState || pData == nullptr)
        return;
    m_pState->m_bRef = true;
    if (m_pState->m_held.IsEmpty()) {
        v8::HandleScope scope(pIsolate);
        Hold(*m_pState, pIsolate, pData->m_objects.ObjectOf(pIsolate, m_pState->m_pOwner));
    }
}

void ThreadSafeCall::unref()
{
    if (!m_pState)
        return;
    m_pState->m_bRef = false;
    m_pState->m_held.Reset();
}

}  // namespace Bridge
