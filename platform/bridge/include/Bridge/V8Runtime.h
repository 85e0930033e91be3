// V8's start-up, in one place for every program of the engine: kite, the
// benchmark and the tests start V8 and make their isolates through these.
#ifndef BRIDGE_V8_RUNTIME_H
#define BRIDGE_V8_RUNTIME_H

#include <memory>
#include <v8.h>

namespace Bridge {

// V8 for the process: ICU data and the start-up snapshot found beside the
// program, the default platform, and the allocator of array buffers that
// its isolates share. V8 starts once in a process: make one, keep it until
// the last isolate is gone; its destructor shuts V8 down.
class V8Runtime {
public:
    // Milliseconds since 1970 for Date.now() and new Date(), for the isolate
    // whose script asks: V8 asks the platform, which is the process's, so
    // each isolate's clock is found from it. Null when the thread has no
    // isolate entered.
    typedef double (*DateClock)(v8::Isolate* pIsolate);

    // pszProgram: the program's file (argv[0], or "/proc/self/exe").
    explicit V8Runtime(const char* pszProgram);
    // Scripts' dates read pDateClock instead of the wall clock, as a host
    // with a clock of its own wants them to.
    V8Runtime(const char* pszProgram, DateClock pDateClock);
    ~V8Runtime();

    // The default platform, which v8::platform's functions (PumpMessageLoop)
    // take, whatever V8 was given.
    v8::Platform* Platform() const { return m_pPlatform.get(); }
    v8::ArrayBuffer::Allocator* Allocator() const { return m_pAllocator.get(); }

private:
    V8Runtime(const V8Runtime&) = delete;
    V8Runtime& operator=(const V8Runtime&) = delete;

    std::unique_ptr<v8::Platform> m_pPlatform;
    // The default platform with dates on another clock, when asked for.
    std::unique_ptr<v8::Platform> m_pDatedPlatform;
    std::unique_ptr<v8::ArrayBuffer::Allocator> m_pAllocator;
};

// One isolate of the runtime, disposed with the holder (after the host has
// detached from it).
class IsolateHolder {
public:
    explicit IsolateHolder(const V8Runtime& runtime);
    ~IsolateHolder();

    v8::Isolate* Isolate() const { return m_pIsolate; }

private:
    IsolateHolder(const IsolateHolder&) = delete;
    IsolateHolder& operator=(const IsolateHolder&) = delete;

    v8::Isolate* m_pIsolate;
};

}  // namespace Bridge

#endif
