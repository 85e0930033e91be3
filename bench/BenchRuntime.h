// One V8 isolate and context on the main thread, attached to the bridge
// library as the host attaches it, with the plug-in's class installed and a
// GLib main loop to deliver events on.
#ifndef TETHER_BENCH_RUNTIME_H
#define TETHER_BENCH_RUNTIME_H

#include <Bridge/V8Runtime.h>
#include <Cinecast/SimAdapter.h>
#include <glib.h>
#include <string>
#include <v8.h>

namespace TetherBench {

class CBenchRuntime {
public:
    explicit CBenchRuntime(const char* pszArgv0);
    ~CBenchRuntime();

    v8::Isolate* Isolate() const { return m_pIsolate; }
    // Needs a handle scope.
    v8::Local<v8::Context> Context() const { return m_context.Get(m_pIsolate); }

    // Runs a script in the context; a thrown exception ends the program,
    // since every figure after it would be wrong.
    void Run(const std::string& strSource);
    // A global function of the context. Needs a handle scope.
    v8::Local<v8::Function> Function(const std::string& strName);
    // Calls a global function with one number, as the benchmark loops do.
    void Call(const v8::Global<v8::Function>& function, double dArgument);
    // Puts a native function on the global object.
    void SetNative(const char* pszName, v8::FunctionCallback callback);

    // Runs the main loop until Quit is called.
    void RunMainLoop();
    void Quit();

    // A full collection, so that garbage does not count as memory kept.
    void CollectGarbage();

    // The simulated players of the agents the scripts make.
    const DeviceAPI::Cinecast::Sim::CPlayers& Players() const { return m_players; }

private:
    Bridge::V8Runtime m_runtime;
    Bridge::IsolateHolder m_isolate;
    v8::Isolate* m_pIsolate;
    v8::Global<v8::Context> m_context;
    DeviceAPI::Cinecast::Sim::CPlayers m_players;
    GMainLoop* m_pLoop = nullptr;
};

}  // namespace TetherBench

#endif
