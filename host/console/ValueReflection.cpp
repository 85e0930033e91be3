#include "console/ValueReflection.h"

#include "console/ScriptValues.h"

namespace Kite {

namespace {

// Prototype chains are walked this far at most.
const int MAX_PROTOTYPES = 1000;

}  // namespace

v8::Local<v8::String> CValueReader::Key(EKey eKey) const
{
    static const char* const NAMES[KEY_COUNT] = {"value", "get", "set", "enumerable", "constructor",
                                                 "name", "stack", "message", "cause"};
    if (m_aKeys[eKey].IsEmpty())
        m_aKeys[eKey] = Bridge::NewText(m_pIsolate, NAMES[eKey]);
    return m_aKeys[eKey];
}

bool CValueReader::OwnKeys(v8::Local<v8::Object> object, bool bSkipIndices, v8::Local<v8::Array>& keys) const
{
    return object
        ->GetPropertyNames(m_context, v8::KeyCollectionMode::kOwnOnly,
                           m_bShowHidden ? v8::ALL_PROPERTIES : v8::ONLY_ENUMERABLE,
                           bSkipIndices ? v8::IndexFilter::kSkipIndices : v8::IndexFilter::kIncludeIndices,
                           v8::KeyConversionMode::kConvertToString)
        .ToLocal(&keys);
}

bool CValueReader::Describe(v8::Local<v8::Object> object, v8::Local<v8::Name> key,
                            v8::Local<v8::Object>& descriptor) const
{
    v8::Local<v8::Value> found;
    if (!object->GetOwnPropertyDescriptor(m_context, key).ToLocal(&found))
        return false;
    descriptor = found->IsObject() ? found.As<v8::Object>() : v8::Local<v8::Object>();
    return true;
}

bool CValueReader::OwnField(v8::Local<v8::Object> descriptor, EKey eField, v8::Local<v8::Value>& value) const
{
    v8::Local<v8::String> name = Key(eField);
    bool bHas = false;
    if (!descriptor->HasOwnProperty(m_context, name).To(&bHas))
        return false;
    if (!bHas) {
        value = v8::Local<v8::Value>();
        return true;
    }
    return descriptor->Get(m_context, name).ToLocal(&value);
}

bool CValueReader::IsHiddenOwn(v8::Local<v8::Object> object, v8::Local<v8::Name> key, bool& bHidden) const
{
    v8::Local<v8::Object> descriptor;
    v8::Local<v8::Value> enumerable;
    if (!Describe(object, key, descriptor) || (!descriptor.IsEmpty() && !OwnField(descriptor, KEY_ENUMERABLE, enumerable)))
        return false;
    bHidden = !descriptor.IsEmpty() && (enumerable.IsEmpty() || !enumerable->IsTrue());
    return true;
}

// A termination goes on; any other exception of instanceof (a throwing
// Symbol.hasInstance) answers no.
bool CValueReader::InstanceOf(v8::Local<v8::Object> object, v8::Local<v8::Value> constructor, bool& bInstance) const
{
    v8::TryCatch guard(m_pIsolate);
    bInstance = false;
    if (!object->InstanceOf(m_context, constructor.As<v8::Object>()).To(&bInstance) && guard.HasTerminated()) {
        guard.ReThrow();
        return false;
    }
    return true;
}

bool CValueReader::ConstructorName(v8::Local<v8::Object> object, std::string& strName, bool& bNullPrototype) const
{
    v8::Local<v8::Value> current = object;
    v8::Local<v8::String> constructorKey = Key(KEY_CONSTRUCTOR);
    for (int i = 0; i < MAX_PROTOTYPES && current->IsObject(); ++i) {
        v8::Local<v8::Object> holder = current.As<v8::Object>();
        v8::Local<v8::Object> descriptor;
        v8::Local<v8::Value> constructor;
        if (!Describe(holder, constructorKey, descriptor))
            return false;
        if (!descriptor.IsEmpty() && !OwnField(descriptor, KEY_VALUE, constructor))
            return false;
        current = holder->GetPrototype();
        if (constructor.IsEmpty() || !constructor->IsFunction())
            continue;
        // A prototype's own constructor does not make it an instance.
        bool bInstance = false;
        if (!InstanceOf(object, constructor, bInstance))
            return false;
        if (!bInstance)
            continue;
        v8::Local<v8::Value> name;
        if (!constructor.As<v8::Object>()->Get(m_context, Key(KEY_NAME)).ToLocal(&name))
            return false;
        if (name->IsString() && name.As<v8::String>()->Length() > 0) {
            strName = TextOfValue(m_pIsolate, name);
            bNullPrototype = false;
            return true;
        }
    }
    strName.clear();
    bNullPrototype = true;
    return true;
}

bool CValueReader::StringTag(v8::Local<v8::Object> object, const std::string& strConstructor,
                             std::string& strTag) const
{
    strTag.clear();
    v8::Local<v8::Symbol> key = v8::Symbol::GetToStringTag(m_pIsolate);
    v8::Local<v8::Value> tag;
    if (!object->Get(m_context, key).ToLocal(&tag))
        return false;
    if (!tag->IsString() || tag.As<v8::String>()->Length() == 0)
        return true;
    v8::Local<v8::Object> descriptor;
    if (!Describe(object, key, descriptor))
        return false;
    if (!descriptor.IsEmpty()) {
        v8::Local<v8::Value> enumerable;
        if (!OwnField(descriptor, KEY_ENUMERABLE, enumerable))
            return false;
        if (m_bShowHidden || (!enumerable.IsEmpty() && enumerable->IsTrue()))
            return true;
    }
    std::string strText = TextOfValue(m_pIsolate, tag);
    if (strText != strConstructor)
        strTag = strText;
    return true;
}

bool CValueReader::StringProperty(v8::Local<v8::Object> object, EKey eKey, std::string& strValue) const
{
    v8::Local<v8::Value> value;
    if (!object->Get(m_context, Key(eKey)).ToLocal(&value))
        return false;
    strValue = value->IsString() ? TextOfValue(m_pIsolate, value) : std::string();
    return true;
}

}  // namespace Kite
