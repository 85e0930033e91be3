// V8 for the whole run: the platform, and one isolate used on the main thread.
#ifndef KITE_V8_RUNTIME_H
#define KITE_V8_RUNTIME_H

#include <memory>
#include <v8.h>

namespace Kite {

class CV8Runtime {
public:
    explicit CV8Runtime(const char* pszProgram);
    // Disposes the isolate, then V8 itself.
    ~CV8Runtime();

    v8::Isolate* Isolate() const { return m_pIsolate; }
    v8::Platform* Platform() const { return m_pPlatform.get(); }

private:
    CV8Runtime(const CV8Runtime&) = delete;
    CV8Runtime& operator=(const CV8Runtime&) = delete;

    std::unique_ptr<v8::Platform> m_pPlatform;
    std::unique_ptr<v8::ArrayBuffer::Allocator> m_pAllocator;
    v8::Isolate* m_pIsolate = nullptr;
};

}  // namespace Kite

#endif
