#include "Bridge/V8Runtime.h"

#include <libplatform/libplatform.h>
#include <memory>
#include <utility>

namespace Bridge {

namespace {

// The default platform in all but the time of scripts' dates, which V8 asks
// CurrentClockTimeMillis for.
class CDatedPlatform : public v8::Platform {
public:
    CDatedPlatform(v8::Platform* pDefault, V8Runtime::DateClock pDateClock)
        : m_pDefault(pDefault), m_pDateClock(pDateClock)
    {
    }

    v8::PageAllocator* GetPageAllocator() override { return m_pDefault->GetPageAllocator(); }
    v8::ZoneBackingAllocator* GetZoneBackingAllocator() override { return m_pDefault->GetZoneBackingAllocator(); }
    void OnCriticalMemoryPressure() override { m_pDefault->OnCriticalMemoryPressure(); }
    bool OnCriticalMemoryPressure(size_t length) override { return m_pDefault->OnCriticalMemoryPressure(length); }
    int NumberOfWorkerThreads() override { return m_pDefault->NumberOfWorkerThreads(); }
    std::shared_ptr<v8::TaskRunner> GetForegroundTaskRunner(v8::Isolate* pIsolate) override
    {
        return m_pDefault->GetForegroundTaskRunner(pIsolate);
    }
    void CallOnWorkerThread(std::unique_ptr<v8::Task> task) override { m_pDefault->CallOnWorkerThread(std::move(task)); }
    void CallBlockingTaskOnWorkerThread(std::unique_ptr<v8::Task> task) override
    {
        m_pDefault->CallBlockingTaskOnWorkerThread(std::move(task));
    }
    void CallLowPriorityTaskOnWorkerThread(std::unique_ptr<v8::Task> task) override
    {
        m_pDefault->CallLowPriorityTaskOnWorkerThread(std::move(task));
    }
    void CallDelayedOnWorkerThread(std::unique_ptr<v8::Task> task, double dDelaySeconds) override
    {
        m_pDefault->CallDelayedOnWorkerThread(std::move(task), dDelaySeconds);
    }
    bool IdleTasksEnabled(v8::Isolate* pIsolate) override { return m_pDefault->IdleTasksEnabled(pIsolate); }
    std::unique_ptr<v8::JobHandle> PostJob(v8::TaskPriority priority, std::unique_ptr<v8::JobTask> jobTask) override
    {
        return m_pDefault->PostJob(priority, std::move(jobTask));
    }
    double MonotonicallyIncreasingTime() override { return m_pDefault->MonotonicallyIncreasingTime(); }
    double CurrentClockTimeMillis() override { return m_pDateClock(v8::Isolate::TryGetCurrent()); }
    StackTracePrinter GetStackTracePrinter() override { return m_pDefault->GetStackTracePrinter(); }
    v8::TracingController* GetTracingController() override { return m_pDefault->GetTracingController(); }
    void DumpWithoutCrashing() override { m_pDefault->DumpWithoutCrashing(); }
    v8::HighAllocationThroughputObserver* GetHighAllocationThroughputObserver() override
    {
        return m_pDefault->GetHighAllocationThroughputObserver();
    }

private:
    v8::Platform* const m_pDefault;
    const V8Runtime::DateClock m_pDateClock;
};

}  // namespace

V8Runtime::V8Runtime(const char* pszProgram) : V8Runtime(pszProgram, nullptr) {}

V8Runtime::V8Runtime(const char* pszProgram, DateClock pDateClock)
{
    v8::V8::InitializeICUDefaultLocation(pszProgram);
    v8::V8::InitializeExternalStartupData(pszProgram);
    m_pPlatform = v8::platform::NewDefaultPlatform();
    if (pDateClock != nullptr)
        m_pDatedPlatform = std::make_unique<CDatedPlatform>(m_pPlatform.get(), pDateClock);
    v8::V8::InitializePlatform(m_pDatedPlatform != nullptr ? m_pDatedPlatform.get() : m_pPlatform.get());
    v8::V8::Initialize();
    m_pAllocator.reset(v8::ArrayBuffer::Allocator::NewDefaultAllocator());
}

V8Runtime::~V8Runtime()
{
    m_pAllocator.reset();
    v8::V8::Dispose();
    v8::V8::DisposePlatform();
}

IsolateHolder::IsolateHolder(const V8Runtime& runtime)
{
    v8::Isolate::CreateParams params;
    params.array_buffer_allocator = runtime.Allocator();
    m_pIsolate = v8::Isolate::New(params);
}

IsolateHolder::~IsolateHolder()
{
    m_pIsolate->Dispose();
}

}  // namespace Bridge
