#include "BareEvents.h"

#include <chrono>
#include <clutter/clutter.h>
#include <cstdint>
#include <thread>

#include "BenchScript.h"

namespace TetherBench {

namespace {
// The plug-in's event priority.
const int s_iPriority = 150;
}  // namespace

void CBareEvents::SetFunction(const char* pszName)
{
    v8::HandleScope scope(m_rRuntime.Isolate());
    m_function.Reset(m_rRuntime.Isolate(), m_rRuntime.Function(pszName));
}

void CBareEvents::Queue(std::string strText)
{
    clutter_threads_add_idle_full(s_iPriority, Deliver, new CRecord{this, std::move(strText)}, nullptr);
}

int CBareEvents::Deliver(void* pData)
{
    CRecord* pRecord = static_cast<CRecord*>(pData);
    CBenchRuntime& runtime = pRecord->m_pOwner->m_rRuntime;
    v8::Isolate* pIsolate = runtime.Isolate();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Context> context = runtime.Context();
    v8::Context::Scope contextScope(context);
    v8::Local<v8::Value> argv[1] = {
        v8::String::NewFromUtf8(pIsolate, pRecord->m_strText.data(), v8::NewStringType::kNormal,
                                static_cast<int>(pRecord->m_strText.size()))
            .ToLocalChecked()};
    v8::MaybeLocal<v8::Value> result =
        pRecord->m_pOwner->m_function.Get(pIsolate)->Call(context, v8::Undefined(pIsolate), 1, argv);
    (void)result;
    delete pRecord;
    return 0;
}

CBareEvents::CBareEvents(CBenchRuntime& runtime) : m_rRuntime(runtime)
{
    for (int i = 0; i < s_iProducers; ++i)
        m_aProducers.emplace_back(new CBareProducer());
}

CBareEvents::~CBareEvents()
{
    m_aProducers.clear();
    m_function.Reset();
}

void CBareEvents::StartBurst(int iThreads, std::size_t uPerThread, const std::string& strText)
{
    for (int i = 0; i < iThreads && i < s_iProducers; ++i)
        m_aProducers[static_cast<std::size_t>(i)]->Start([this, uPerThread, strText] {
            for (std::size_t n = 0; n < uPerThread; ++n)
                Queue(strText);
        });
}

void CBareEvents::StartPaced(std::size_t uCount, unsigned uIntervalMicros, unsigned uDelayMicros)
{
    const std::chrono::steady_clock::time_point first =
        std::chrono::steady_clock::now() + std::chrono::microseconds(uDelayMicros);
    m_aProducers.front()->Start([this, uCount, uIntervalMicros, first] {
        const std::chrono::microseconds interval(uIntervalMicros);
        std::chrono::steady_clock::time_point next = first;
        for (std::size_t n = 0; n < uCount; ++n) {
            std::this_thread::sleep_until(next);
            next += interval;
            Queue(std::to_string(static_cast<int32_t>(static_cast<uint32_t>(SteadyNanos()))));
        }
    });
}

void CBareEvents::Wait()
{
    for (std::unique_ptr<CBareProducer>& pProducer : m_aProducers)
        pProducer->Wait();
}

}  // namespace TetherBench
