// Bridge::ThreadSafeCall: posts from threads delivered on the main loop, the
// queue limit, what closes a call, its finalizer, and what ref holds. The
// run that a ref'd call keeps going: tests/host/scripts/thread_call.js.
#include <Bridge/Engine.h>
#include <Bridge/ThreadSafeCall.h>
#include <glib.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Probe.h"
#include "V8Test.h"

namespace {

using Bridge::ThreadSafeCall;

class ThreadCallTest : public TestSupport::CV8Test {
protected:
    void SetUp() override
    {
        CV8Test::SetUp();
        Bridge::Engine::InstallClass(&m_bridge);
        Eval("globalThis.seen = []; globalThis.record = (v) => { seen.push(v); }; globalThis.owner = new Probe(); 0");
    }

    KiteTest::CProbe* Owner()
    {
        CScope scope(*this);
        v8::Local<v8::Value> owner = Run("owner");
        return Bridge::ScriptBridge::extract<KiteTest::CProbe, KiteTest::CProbe>(owner.As<v8::Object>());
    }
    Bridge::ScriptFunction Record()
    {
        CScope scope(*this);
        return Bridge::ScriptFunction(Run("record").As<v8::Function>());
    }
    // A call of record owned by the Probe, counting its finalizations.
    ThreadSafeCall MakeCall(std::size_t uMaxQueue)
    {
        return ThreadSafeCall(Owner(), Record(), uMaxQueue, [this] { ++m_iFinalized; });
    }
    // Each row after the first gets a fresh isolate with a fresh owner.
    void NextRow(bool bFirst)
    {
        if (bFirst)
            return;
        TearDown();
        SetUp();
        m_iFinalized = 0;
    }
    // Dispatches what is ready, without waiting.
    static void Dispatch()
    {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }

    KiteTest::CProbeBridge m_bridge;
    int m_iFinalized = 0;
};

enum EThen { THEN_RELEASE, THEN_DESTROY_OWNER };

TEST_F(ThreadCallTest, PostsFromThreadsRunOnTheMainLoopUntilTheCallCloses)
{
    const struct {
        const char* pszName;
        bool bReleaseFirst;
        int iThreads;  // 0: the script thread posts
        int iPostsEach;
        std::size_t uMaxQueue;
        bool bWait;      // post, else tryPost
        bool bDispatch;  // the main loop runs while they post
        EThen eThen;
        int aAnswers[3];  // posts that answered POST_OK, POST_QUEUE_FULL, POST_CLOSED
        int iDelivered;
        std::size_t uDropped;
    } aRows[] = {
        {"four threads, delivered in each thread's order", false, 4, 50, 0, false, true, THEN_RELEASE, {200, 0, 0}, 200, 0},
        {"posts wait for room under a limit", false, 2, 20, 1, true, true, THEN_RELEASE, {40, 0, 0}, 40, 0},
        {"posts after release are dropped and counted", true, 2, 5, 0, true, false, THEN_RELEASE, {0, 0, 10}, 0, 10},
        {"release leaves what is queued to run", false, 1, 5, 0, true, false, THEN_RELEASE, {5, 0, 0}, 5, 0},
        {"the owner's destruction drops what is queued", false, 1, 5, 0, true, false, THEN_DESTROY_OWNER, {5, 0, 0}, 0, 5},
        {"tryPost on a full queue answers full", false, 0, 3, 2, false, false, THEN_RELEASE, {2, 1, 0}, 2, 0},
        {"post on the script thread answers full, not waits", false, 0, 3, 2, true, false, THEN_RELEASE, {2, 1, 0}, 2, 0},
    };
    for (const auto& row : aRows) {
        NextRow(&row == aRows);
        ThreadSafeCall call = MakeCall(row.uMaxQueue);
        if (row.bReleaseFirst)
            call.release();
        std::atomic<int> aAnswers[3] = {{0}, {0}, {0}};
        auto postAll = [&row, &aAnswers, call](int iThread) mutable {
            for (int i = 0; i < row.iPostsEach; ++i) {
                std::string strText = std::to_string(iThread) + ":" + std::to_string(i);
                ++aAnswers[row.bWait ? call.post(strText) : call.tryPost(strText)];
            }
        };
        std::atomic<int> iDone{0};
        std::vector<std::thread> aThreads;
        for (int t = 0; t < row.iThreads; ++t)
            aThreads.emplace_back([&, t] {
                postAll(t);
                ++iDone;
            });
        if (row.iThreads == 0)
            postAll(0);
        while (row.bDispatch && iDone < row.iThreads) {
            Dispatch();
            std::this_thread::yield();
        }
        for (std::thread& thread : aThreads)
            thread.join();
        if (row.eThen == THEN_DESTROY_OWNER) {
            CScope scope(*this);
            EXPECT_TRUE(Bridge::Engine::DestroyObject(Run("owner").As<v8::Object>())) << row.pszName;
        }
        call.release();
        Dispatch();

        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(row.aAnswers[i], aAnswers[i]) << row.pszName << ", answer " << i;
        EXPECT_EQ(std::to_string(row.iDelivered), Eval("seen.length")) << row.pszName;
        EXPECT_EQ("true", Eval("seen.every((v, i) => { const [t, n] = v.split(':').map(Number);"
                               " return seen.slice(0, i).filter((w) => w.startsWith(t + ':')).length === n; })"))
            << row.pszName << ": each thread's posts in its order";
        EXPECT_EQ(1, m_iFinalized) << row.pszName << ": the finalizer, once";
        EXPECT_EQ(ThreadSafeCall::POST_CLOSED, call.tryPost("late")) << row.pszName;
        EXPECT_EQ(row.uDropped + 1, call.dropped()) << row.pszName;
    }
}

// A post waiting for room returns once the call closes, so that the owner's
// destructor can join the thread that posts: the Probe's joins its
// m_counter, and would wait for ever were the call closed after it.
TEST_F(ThreadCallTest, AWaitingPostReturnsWhenTheCallCloses)
{
    for (EThen eThen : {THEN_RELEASE, THEN_DESTROY_OWNER}) {
        NextRow(eThen == THEN_RELEASE);
        ThreadSafeCall call = MakeCall(1);
        std::atomic<bool> bFirstIn{false};
        ThreadSafeCall::EPost eSecond = ThreadSafeCall::POST_OK;
        KiteTest::CProbe* pOwner = Owner();
        pOwner->m_counter = std::thread([&, call]() mutable {
            call.post("first");
            bFirstIn = true;
            eSecond = call.post("second");  // the queue is full until the call closes
        });
        while (!bFirstIn)
            std::this_thread::yield();
        if (eThen == THEN_RELEASE) {
            call.release();
            pOwner->m_counter.join();
        } else {
            CScope scope(*this);
            EXPECT_TRUE(Bridge::Engine::DestroyObject(Run("owner").As<v8::Object>()));
        }
        Dispatch();
        EXPECT_EQ(ThreadSafeCall::POST_CLOSED, eSecond) << eThen;
        EXPECT_EQ(eThen == THEN_RELEASE ? "first" : "", Eval("seen.join()")) << eThen;
        EXPECT_EQ(1, m_iFinalized) << eThen;
    }
}

// A ref'd call keeps its owner's object from the collector and asks the host
// to keep the run going; an unref'd one does neither. Either lets go once
// it has finished.
TEST_F(ThreadCallTest, ARefdCallHoldsItsOwnerAndTheRun)
{
    const struct {
        const char* pszName;
        bool bUnref, bRefAgain;
        std::size_t uLiveAfterCollection;
        bool bHoldsRun;
    } aRows[] = {{"ref'd, as made", false, false, 1, true},
                 {"unref'd", true, false, 0, false},
                 {"unref'd, then ref'd", true, true, 1, true}};
    for (const auto& row : aRows) {
        NextRow(&row == aRows);
        ThreadSafeCall call = MakeCall(0);
        if (row.bUnref)
            call.unref();
        if (row.bRefAgain)
            call.ref();
        Eval("owner = null");
        Bridge::Engine::CollectGarbage(Isolate());
        EXPECT_EQ(row.uLiveAfterCollection, Bridge::Engine::LiveObjectCount()) << row.pszName;
        EXPECT_EQ(row.bHoldsRun, Bridge::Engine::HoldsRun()) << row.pszName;
        call.release();
        Dispatch();
        EXPECT_EQ(1, m_iFinalized) << row.pszName;
        EXPECT_FALSE(Bridge::Engine::HoldsRun()) << row.pszName << ", finished";
        Bridge::Engine::CollectGarbage(Isolate());
        EXPECT_EQ(0u, Bridge::Engine::LiveObjectCount()) << row.pszName << ", finished";
    }
}

// A call's owner lives while the call runs, as in its methods; copies share
// one call, released when the last goes; the engine's detach closes it; a
// host without a poster has none.
TEST_F(ThreadCallTest, OwnerCopiesAndHost)
{
    const int iDestroyed = KiteTest::CProbe::s_iDestroyed;
    int iDestroyedInCall = -1;
    ThreadSafeCall call = MakeCall(0);
    call.post([this, &iDestroyedInCall](const Bridge::ScriptFunction&) {
        CScope scope(*this);
        EXPECT_TRUE(Bridge::Engine::DestroyObject(Run("owner").As<v8::Object>()));
        iDestroyedInCall = KiteTest::CProbe::s_iDestroyed;
    });
    Dispatch();
    EXPECT_EQ(iDestroyed, iDestroyedInCall) << "the owner, destroyed inside the call";
    EXPECT_EQ(iDestroyed + 1, KiteTest::CProbe::s_iDestroyed) << "the owner, once the call returned";

    NextRow(false);
    {
        ThreadSafeCall copy = MakeCall(0);
        {
            ThreadSafeCall other(copy);
            other = copy;
        }
        Dispatch();
        EXPECT_EQ(0, m_iFinalized) << "one copy left";
    }
    Dispatch();
    EXPECT_EQ(1, m_iFinalized) << "no copy left";

    NextRow(false);
    ThreadSafeCall atDetach = MakeCall(0);
    atDetach.post("queued");
    Bridge::Engine::Detach();
    Dispatch();
    EXPECT_EQ("", Eval("seen.join()")) << "a post queued at the engine's detach";
    EXPECT_EQ(1u, atDetach.dropped());
    EXPECT_EQ(1, m_iFinalized);

    NextRow(false);
    Bridge::Engine::SetEventPoster(nullptr);
    try {
        MakeCall(0);
        ADD_FAILURE() << "a call made without a poster";
    } catch (const KiteJsRuntimeException& e) {
        EXPECT_STREQ("this host runs no thread-safe calls", e.what());
    }
}

// What a posted C++ call or a finalizer throws is the script's uncaught
// error; what the script function throws too. The calls after it run.
TEST_F(ThreadCallTest, WhatACallThrowsIsReportedAsUncaught)
{
    static std::vector<std::string> s_aUncaught;
    s_aUncaught.clear();
    Bridge::Engine::SetUncaughtHandler([](v8::Isolate* pIsolate, v8::Local<v8::Value> exception, v8::Local<v8::Message>) {
        s_aUncaught.push_back(*v8::String::Utf8Value(pIsolate, exception));
    });
    ThreadSafeCall call = MakeCall(0);
    call.post([](const Bridge::ScriptFunction&) { throw std::runtime_error("from C++"); });
    call.post([](const Bridge::ScriptFunction&) { throw 42; });
    call.post([](const Bridge::ScriptFunction& function) { function.invoke("after"); });
    Eval("globalThis.thrower = () => { throw new TypeError('from the script'); }; 0");
    {
        CScope scope(*this);
        ThreadSafeCall throwing(Owner(), Bridge::ScriptFunction(Run("thrower").As<v8::Function>()), 0,
                                [] { throw std::runtime_error("from the finalizer"); });
        throwing.post();
    }
    Dispatch();
    EXPECT_EQ((std::vector<std::string>{"Error: from C++",
                                        "Error: a thread-safe call: a native exception of unknown type",
                                        "TypeError: from the script", "Error: from the finalizer"}),
              s_aUncaught);
    EXPECT_EQ("after", Eval("seen.join()"));
}

}  // namespace
