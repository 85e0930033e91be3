// What the command results of one context are made from.
//
// Each store through the C++ property API takes V8's runtime path and walks
// the object's hidden-class transitions anew. Results are therefore made by
// two small script functions, whose plain assignments go through V8's inline
// caches, or, for the command results with one property, copied from a
// ready-made result: a copy is the same object as the assignment would make
// while Object.prototype has no property of that name, which is checked on
// every copy. Both keep what an assignment does when Object.prototype does
// have one (a setter runs, a read-only value stays).
#ifndef TETHER_RESULT_MAKERS_H
#define TETHER_RESULT_MAKERS_H

#include <v8.h>

namespace Tether {

class CResultMakers {
public:
    // The makers of the context, made on first use and again when another
    // context asks; null when the scripts cannot run. Needs a handle scope.
    // The plug-in serves one isolate at a time, from one thread.
    static CResultMakers* For(v8::Isolate* pIsolate, v8::Local<v8::Context> context);
    // Drops every script value held; called when the last agent goes, while
    // the isolate is still alive.
    static void Release();

    // function (ecode) and function (ecode, type, data), each answering a
    // new object with those properties assigned in that order.
    v8::Local<v8::Function> CommandMaker(v8::Isolate* pIsolate) const;
    v8::Local<v8::Function> QueryMaker(v8::Isolate* pIsolate) const;

    // A new object equal to what CommandMaker would make for iCode, or an
    // empty handle when only the maker can tell (an unusual code, or a
    // "return_ecode" on Object.prototype).
    v8::MaybeLocal<v8::Object> CopyCommandResult(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                                 int iCode) const;

private:
    bool Make(v8::Isolate* pIsolate, v8::Local<v8::Context> context);
    void Reset();

    v8::Global<v8::Context> m_context;
    v8::Global<v8::Function> m_commandMaker;
    v8::Global<v8::Function> m_queryMaker;
    v8::Global<v8::Object> m_objectPrototype;
    v8::Global<v8::String> m_returnEcode;
    // Ready-made results for the codes 0, -1 and -2, by -code.
    v8::Global<v8::Object> m_aCommandResults[3];
};

}  // namespace Tether

#endif
