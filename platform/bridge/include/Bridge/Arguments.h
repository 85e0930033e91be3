// Argument lists of a native call.
#ifndef BRIDGE_ARGUMENTS_H
#define BRIDGE_ARGUMENTS_H

#include <v8.h>

namespace Bridge {

class Arguments {
public:
    virtual ~Arguments() {}
    virtual int Length() const = 0;
    virtual v8::Local<v8::Value> operator[](int iIndex) const = 0;
};

// Reads the arguments of one V8 call; indexes outside the call read undefined.
template <typename T>
class V8Arguments : public Arguments {
public:
    explicit V8Arguments(const v8::FunctionCallbackInfo<T>& info) : m_rInfo(info) {}
    virtual ~V8Arguments() {}
    virtual int Length() const { return m_rInfo.Length(); }
    virtual v8::Local<v8::Value> operator[](int iIndex) const
    {
        if (iIndex < 0 || iIndex >= m_rInfo.Length())
            return v8::Undefined(m_rInfo.GetIsolate());
        return m_rInfo[iIndex];
    }

private:
    const v8::FunctionCallbackInfo<T>& m_rInfo;
};

}  // namespace Bridge

#endif
