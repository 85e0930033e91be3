// Script functions that assign properties to an object as a script does.
//
// v8::Object::Set takes V8's runtime path and walks the object's hidden-class
// transitions anew on every store. A script function's assignments go
// through its inline caches instead, which learn the transitions once. Each
// function assigns one list of names, written into it, so its caches stay
// monomorphic and no name is looked up per call.
#ifndef BRIDGE_OBJECT_MAKERS_H
#define BRIDGE_OBJECT_MAKERS_H

#include <string>
#include <v8.h>
#include <vector>

namespace Bridge {

// The most properties one function assigns.
const int s_iMaxMadeProperties = 6;

// The functions of one context, made on first use and made again for
// another context.
class CObjectMakers {
public:
    // function (v0, ..., vN-1) answering a new {} after o[name0] = v0 and so
    // on in order, as sloppy code does, for the N (1 to
    // s_iMaxMadeProperties) names; empty
    // when it cannot be made. The context must be entered; needs a handle
    // scope.
    v8::Local<v8::Function> get(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                const std::string* const* apNames, int iCount);

private:
    struct CMaker {
        std::vector<std::string> m_aNames;
        v8::Global<v8::Function> m_function;
    };

    void reset();

    v8::Global<v8::Context> m_context;
    // Bounded: the name lists of a plug-in are few, others are made anew.
    std::vector<CMaker> m_aMakers;
};

// The makers of the isolate's data; see CObjectMakers::get.
v8::Local<v8::Function> ObjectMaker(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                    const std::string* const* apNames, int iCount);

}  // namespace Bridge

#endif
