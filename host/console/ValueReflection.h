// What the printer reads of an object through V8 without running more
// script code than Node's util.inspect runs: own keys, property
// descriptors, the constructor's name and Symbol.toStringTag.
#ifndef KITE_VALUE_REFLECTION_H
#define KITE_VALUE_REFLECTION_H

#include <string>
#include <v8.h>

namespace Kite {

// Each method answers false when script code it ran threw; the exception
// stays pending. A reader lives inside one handle scope, which holds the
// keys it makes.
class CValueReader {
public:
    CValueReader(v8::Local<v8::Context> context, bool bShowHidden)
        : m_pIsolate(context->GetIsolate()), m_context(context), m_bShowHidden(bShowHidden)
    {
    }

    v8::Isolate* Isolate() const { return m_pIsolate; }
    v8::Local<v8::Context> Context() const { return m_context; }
    // The property names the printer reads, each made once an inspection.
    enum EKey { KEY_VALUE, KEY_GET, KEY_SET, KEY_ENUMERABLE, KEY_CONSTRUCTOR, KEY_NAME, KEY_STACK, KEY_MESSAGE,
                KEY_CAUSE, KEY_COUNT };
    v8::Local<v8::String> Key(EKey eKey) const;

    // Enumerable own keys as strings and symbols; all of them when hidden
    // ones are shown.
    bool OwnKeys(v8::Local<v8::Object> object, bool bSkipIndices, v8::Local<v8::Array>& keys) const;
    // The own property's descriptor, or an empty handle when there is none.
    bool Describe(v8::Local<v8::Object> object, v8::Local<v8::Name> key, v8::Local<v8::Object>& descriptor) const;
    // A descriptor's field, empty when absent, read without reaching its
    // prototype (where a script may have put getters named "get" or "value").
    bool OwnField(v8::Local<v8::Object> descriptor, EKey eField, v8::Local<v8::Value>& value) const;
    // The own property KEY exists and is not enumerable.
    bool IsHiddenOwn(v8::Local<v8::Object> object, v8::Local<v8::Name> key, bool& bHidden) const;
    // The name of the nearest constructor on the prototype chain that the
    // object is an instance of; bNullPrototype when there is none.
    bool ConstructorName(v8::Local<v8::Object> object, std::string& strName, bool& bNullPrototype) const;
    // Symbol.toStringTag when it says more than the constructor's name and
    // is not one of the object's own shown properties; else empty.
    bool StringTag(v8::Local<v8::Object> object, const std::string& strConstructor, std::string& strTag) const;
    // A property's value, or an empty string when it is no string.
    bool StringProperty(v8::Local<v8::Object> object, EKey eKey, std::string& strValue) const;

private:
    bool InstanceOf(v8::Local<v8::Object> object, v8::Local<v8::Value> constructor, bool& bInstance) const;

    v8::Isolate* m_pIsolate;
    v8::Local<v8::Context> m_context;
    bool m_bShowHidden;
    mutable v8::Local<v8::String> m_aKeys[KEY_COUNT];
};

}  // namespace Kite

#endif
