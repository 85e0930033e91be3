#include "console/Inspect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "console/ScriptValues.h"

namespace Kite {

namespace {

// Node's layout: a line holds 80 columns, lists show 100 elements or
// bytes, strings inside values 10000 characters, and the
// innermost three levels of objects may share one line.
const int BREAK_LENGTH = 80;
const uint32_t MAX_ELEMENTS = 100;
const uint32_t MAX_BYTES = 100;
const int MAX_STRING = 10000;
const int COMPACT_LEVELS = 3;
// Prototype chains are walked this far at most.
const int MAX_PROTOTYPES = 1000;

// Columns a text takes: its length in UTF-16 units, as Node counts it.
std::size_t Width(const std::string& strText)
{
    std::size_t uWidth = 0;
    for (unsigned char c : strText) {
        if ((c & 0xC0) != 0x80)
            uWidth += (c >= 0xF0) ? 2 : 1;
    }
    return uWidth;
}

std::string Spaces(int iCount)
{
    return std::string(static_cast<std::size_t>(std::max(iCount, 0)), ' ');
}

std::string Plural(uint64_t uCount, const char* pszWhat)
{
    return std::to_string(uCount) + " " + pszWhat + (uCount == 1 ? "" : "s");
}

bool IsIdentifier(const std::string& strKey)
{
    if (strKey.empty() || (strKey[0] >= '0' && strKey[0] <= '9'))
        return false;
    return std::all_of(strKey.begin(), strKey.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t iDays, int64_t& iYear, int& iMonth, int& iDay)
{
    iDays += 719468;
    int64_t iEra = (iDays >= 0 ? iDays : iDays - 146096) / 146097;
    int64_t iDayOfEra = iDays - iEra * 146097;
    int64_t iYearOfEra = (iDayOfEra - iDayOfEra / 1460 + iDayOfEra / 36524 - iDayOfEra / 146096) / 365;
    int64_t iDayOfYear = iDayOfEra - (365 * iYearOfEra + iYearOfEra / 4 - iYearOfEra / 100);
    int64_t iMonthIndex = (5 * iDayOfYear + 2) / 153;
    iDay = static_cast<int>(iDayOfYear - (153 * iMonthIndex + 2) / 5 + 1);
    iMonth = static_cast<int>(iMonthIndex < 10 ? iMonthIndex + 3 : iMonthIndex - 9);
    iYear = iYearOfEra + iEra * 400 + (iMonth <= 2 ? 1 : 0);
}

// Date.prototype.toISOString, without running script code.
std::string IsoDate(double dTime)
{
    if (std::isnan(dTime))
        return "Invalid Date";
    int64_t iTime = static_cast<int64_t>(dTime);
    int64_t iDays = (iTime >= 0 ? iTime : iTime - 86399999) / 86400000;
    int64_t iOfDay = iTime - iDays * 86400000;
    int64_t iYear;
    int iMonth, iDay;
    CivilFromDays(iDays, iYear, iMonth, iDay);
    char szYear[16];
    if (iYear >= 0 && iYear <= 9999)
        std::snprintf(szYear, sizeof szYear, "%04lld", static_cast<long long>(iYear));
    else
        std::snprintf(szYear, sizeof szYear, "%c%06lld", iYear < 0 ? '-' : '+',
                      static_cast<long long>(iYear < 0 ? -iYear : iYear));
    char szText[48];
    std::snprintf(szText, sizeof szText, "%s-%02d-%02dT%02d:%02d:%02d.%03dZ", szYear, iMonth, iDay,
                  static_cast<int>(iOfDay / 3600000), static_cast<int>(iOfDay / 60000 % 60),
                  static_cast<int>(iOfDay / 1000 % 60), static_cast<int>(iOfDay % 1000));
    return szText;
}

// The braces and what goes before them, for one object.
struct CShape {
    std::string m_strBase;  // a function's or date's text, an error's stack
    std::string m_strOpen = "{";
    std::string m_strClose = "}";
    bool m_bArrayLike = false;  // elements may be set in columns
    bool m_bNumbers = false;    // every element a number: columns align right
    bool m_bMore = false;       // the last entry is "... N more items"
};

class CInspection {
public:
    CInspection(v8::Local<v8::Context> context, const CInspectOptions& options)
        : m_pIsolate(context->GetIsolate()), m_context(context), m_options(options)
    {
    }

    bool Format(v8::Local<v8::Value> value, int iLevel, std::string& strOut);

private:
    bool FormatObject(v8::Local<v8::Object> object, int iLevel, std::string& strOut);
    bool FormatProxy(v8::Local<v8::Proxy> proxy, int iLevel, std::string& strOut);
    bool FormatEntries(v8::Local<v8::Object> object, int iLevel, CShape& shape, std::vector<std::string>& aEntries);
    bool FormatChild(v8::Local<v8::Value> value, int iLevel, std::string& strOut);
    bool FormatProperty(v8::Local<v8::Object> object, v8::Local<v8::Name> key, int iLevel, std::string& strOut);
    bool FormatElements(v8::Local<v8::Object> array, uint32_t uLength, int iLevel, CShape& shape,
                        std::vector<std::string>& aEntries);
    bool FormatElement(v8::Local<v8::Object> array, uint32_t uIndex, int iLevel, std::vector<std::string>& aEntries,
                       bool& bNumber);
    bool FormatList(v8::Local<v8::Array> list, bool bPairs, const char* pszArrow, int iLevel, uint32_t uSize,
                    CShape& shape, std::vector<std::string>& aEntries);

    bool OwnKeys(v8::Local<v8::Object> object, bool bSkipIndices, v8::Local<v8::Array>& keys);
    bool Describe(v8::Local<v8::Object> object, v8::Local<v8::Name> key, v8::Local<v8::Object>& descriptor);
    bool OwnField(v8::Local<v8::Object> descriptor, const char* pszName, v8::Local<v8::Value>& value);
    bool ConstructorName(v8::Local<v8::Object> object, std::string& strName, bool& bNullPrototype);
    bool StringTag(v8::Local<v8::Object> object, const std::string& strConstructor, std::string& strTag);
    bool FunctionText(v8::Local<v8::Function> function, std::string& strOut);
    bool ErrorText(v8::Local<v8::Object> error, const std::string& strConstructor, std::string& strOut,
                   std::vector<std::string>& aHiddenKeys);
    bool StringOf(v8::Local<v8::Value> value, std::string& strOut);
    std::string KeyText(v8::Local<v8::Name> key, bool bHidden);
    std::string Primitive(v8::Local<v8::Value> value);
    void Group(std::vector<std::string>& aEntries, const CShape& shape);
    std::string Reduce(std::vector<std::string>& aEntries, const CShape& shape, int iLevel);

    v8::Local<v8::String> Name(const char* pszName) { return Bridge::NewText(m_pIsolate, pszName); }

    v8::Isolate* m_pIsolate;
    v8::Local<v8::Context> m_context;
    CInspectOptions m_options;
    std::vector<v8::Local<v8::Object>> m_aSeen;  // the objects being formatted, outermost first
    std::vector<v8::Local<v8::Object>> m_aReferenced;  // [Circular *N] names m_aReferenced[N - 1]
    int m_iIndentation = 0;
    // The level of the object whose entries were formatted last: an object
    // shares one line only with the innermost levels below it.
    int m_iCurrentDepth = 0;
};

std::string CInspection::Primitive(v8::Local<v8::Value> value)
{
    if (value->IsString())
        return QuotedText(m_pIsolate, value.As<v8::String>());
    if (value->IsNumber())
        return NumberText(m_pIsolate, value.As<v8::Number>()->Value());
    if (value->IsBigInt())
        return TextOfValue(m_pIsolate, value.As<v8::BigInt>()->ToString(m_context).ToLocalChecked()) + "n";
    if (value->IsSymbol()) {
        std::string strText;
        DisplayText(m_pIsolate, value, strText);
        return strText;
    }
    if (value->IsUndefined())
        return "undefined";
    if (value->IsNull())
        return "null";
    return value->IsTrue() ? "true" : "false";
}

bool CInspection::Format(v8::Local<v8::Value> value, int iLevel, std::string& strOut)
{
    if (!value->IsObject()) {
        strOut = Primitive(value);
        return true;
    }
    return FormatObject(value.As<v8::Object>(), iLevel, strOut);
}

// Children sit two columns further in.
bool CInspection::FormatChild(v8::Local<v8::Value> value, int iLevel, std::string& strOut)
{
    m_iIndentation += 2;
    bool bDone = Format(value, iLevel, strOut);
    m_iIndentation -= 2;
    return bDone;
}

bool CInspection::OwnKeys(v8::Local<v8::Object> object, bool bSkipIndices, v8::Local<v8::Array>& keys)
{
    return object
        ->GetPropertyNames(m_context, v8::KeyCollectionMode::kOwnOnly,
                           m_options.m_bShowHidden ? v8::ALL_PROPERTIES : v8::ONLY_ENUMERABLE,
                           bSkipIndices ? v8::IndexFilter::kSkipIndices : v8::IndexFilter::kIncludeIndices,
                           v8::KeyConversionMode::kConvertToString)
        .ToLocal(&keys);
}

// The own property's descriptor, or an empty handle when there is none.
bool CInspection::Describe(v8::Local<v8::Object> object, v8::Local<v8::Name> key,
                           v8::Local<v8::Object>& descriptor)
{
    v8::Local<v8::Value> found;
    if (!object->GetOwnPropertyDescriptor(m_context, key).ToLocal(&found))
        return false;
    descriptor = found->IsObject() ? found.As<v8::Object>() : v8::Local<v8::Object>();
    return true;
}

// A field of a descriptor, read without reaching its prototype (where a
// script may have put getters named "get" or "value").
bool CInspection::OwnField(v8::Local<v8::Object> descriptor, const char* pszName, v8::Local<v8::Value>& value)
{
    v8::Local<v8::String> name = Name(pszName);
    bool bHas = false;
    if (!descriptor->HasOwnProperty(m_context, name).To(&bHas))
        return false;
    if (!bHas) {
        value = v8::Local<v8::Value>();
        return true;
    }
    return descriptor->Get(m_context, name).ToLocal(&value);
}

bool CInspection::ConstructorName(v8::Local<v8::Object> object, std::string& strName, bool& bNullPrototype)
{
    v8::Local<v8::Value> current = object;
    v8::Local<v8::String> constructorKey = Name("constructor");
    for (int i = 0; i < MAX_PROTOTYPES && current->IsObject(); ++i) {
        v8::Local<v8::Object> holder = current.As<v8::Object>();
        v8::Local<v8::Object> descriptor;
        v8::Local<v8::Value> constructor;
        if (!Describe(holder, constructorKey, descriptor))
            return false;
        if (!descriptor.IsEmpty() && !OwnField(descriptor, "value", constructor))
            return false;
        if (!constructor.IsEmpty() && constructor->IsFunction()) {
            // A prototype's own constructor does not make it an instance.
            bool bInstance = false;
            {
                v8::TryCatch guard(m_pIsolate);
                if (!object->InstanceOf(m_context, constructor.As<v8::Object>()).To(&bInstance) &&
                    guard.HasTerminated()) {
                    guard.ReThrow();
                    return false;
                }
            }
            v8::Local<v8::Value> name;
            if (!bInstance) {
                current = holder->GetPrototype();
                continue;
            }
            if (!constructor.As<v8::Object>()->Get(m_context, Name("name")).ToLocal(&name))
                return false;
            if (name->IsString() && name.As<v8::String>()->Length() > 0) {
                strName = TextOfValue(m_pIsolate, name);
                bNullPrototype = false;
                return true;
            }
        }
        current = holder->GetPrototype();
    }
    strName.clear();
    bNullPrototype = true;
    return true;
}

// Symbol.toStringTag when it says more than the constructor's name and is
// not one of the object's own shown properties.
bool CInspection::StringTag(v8::Local<v8::Object> object, const std::string& strConstructor, std::string& strTag)
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
        if (!OwnField(descriptor, "enumerable", enumerable))
            return false;
        if (m_options.m_bShowHidden || (!enumerable.IsEmpty() && enumerable->IsTrue()))
            return true;
    }
    std::string strText = TextOfValue(m_pIsolate, tag);
    if (strText != strConstructor)
        strTag = strText;
    return true;
}

// "Foo ", "Map(2) ", "Foo(1) [Map] ", "[Object: null prototype] ".
std::string Prefix(const std::string& strConstructor, bool bNullPrototype, const std::string& strTag,
                   const char* pszFallback, const std::string& strSize = std::string())
{
    if (bNullPrototype) {
        std::string strPrefix = std::string("[") + pszFallback + strSize + ": null prototype] ";
        if (!strTag.empty() && strTag != pszFallback)
            strPrefix += "[" + strTag + "] ";
        return strPrefix;
    }
    if (!strTag.empty())
        return strConstructor + strSize + " [" + strTag + "] ";
    return strConstructor + strSize + " ";
}

std::string CInspection::KeyText(v8::Local<v8::Name> key, bool bHidden)
{
    std::string strKey;
    if (key->IsSymbol()) {
        DisplayText(m_pIsolate, key, strKey);
        return "[" + strKey + "]";
    }
    strKey = TextOfValue(m_pIsolate, key);
    if (bHidden)
        return "[" + strKey + "]";
    return IsIdentifier(strKey) ? strKey : QuotedText(m_pIsolate, key.As<v8::String>());
}

bool CInspection::FormatProperty(v8::Local<v8::Object> object, v8::Local<v8::Name> key, int iLevel,
                                 std::string& strOut)
{
    v8::Local<v8::Object> descriptor;
    if (!Describe(object, key, descriptor))
        return false;
    v8::Local<v8::Value> value = v8::Undefined(m_pIsolate);
    v8::Local<v8::Value> getter, setter, enumerable;
    if (!descriptor.IsEmpty()) {
        v8::Local<v8::Value> field;
        if (!OwnField(descriptor, "value", field) || !OwnField(descriptor, "get", getter) ||
            !OwnField(descriptor, "set", setter) || !OwnField(descriptor, "enumerable", enumerable))
            return false;
        if (!field.IsEmpty())
            value = field;
    }
    bool bHidden = !enumerable.IsEmpty() && !enumerable->IsTrue();
    strOut = KeyText(key, bHidden) + ": ";
    bool bGetter = !getter.IsEmpty() && !getter->IsUndefined();
    bool bSetter = !setter.IsEmpty() && !setter->IsUndefined();
    if (bGetter || bSetter) {
        strOut += bGetter ? (bSetter ? "[Getter/Setter]" : "[Getter]") : "[Setter]";
        return true;
    }
    std::string strValue;
    if (!FormatChild(value, iLevel, strValue))
        return false;
    strOut += strValue;
    return true;
}

bool CInspection::FormatElement(v8::Local<v8::Object> array, uint32_t uIndex, int iLevel,
                                std::vector<std::string>& aEntries, bool& bNumber)
{
    v8::Local<v8::Value> value;
    v8::Local<v8::Object> descriptor;
    if (!Describe(array, v8::Integer::NewFromUnsigned(m_pIsolate, uIndex)->ToString(m_context).ToLocalChecked(),
                  descriptor))
        return false;
    if (!descriptor.IsEmpty() && !OwnField(descriptor, "value", value))
        return false;
    if (value.IsEmpty()) {
        // An accessor: shown as a property would be, with its index as key.
        std::string strEntry;
        if (!FormatProperty(array, v8::Integer::NewFromUnsigned(m_pIsolate, uIndex)->ToString(m_context)
                                       .ToLocalChecked(), iLevel, strEntry))
            return false;
        aEntries.push_back(strEntry.substr(strEntry.find(": ") + 2));
        bNumber = false;
        return true;
    }
    bNumber = value->IsNumber() || value->IsBigInt();
    std::string strEntry;
    if (!FormatChild(value, iLevel, strEntry))
        return false;
    aEntries.push_back(strEntry);
    return true;
}

// An array's elements: holes as <N empty items>, the first hundred entries
// and a count of the rest. A sparse array is walked by its keys, so that a
// length of 2^32 - 1 costs what its elements cost.
bool CInspection::FormatElements(v8::Local<v8::Object> array, uint32_t uLength, int iLevel, CShape& shape,
                                 std::vector<std::string>& aEntries)
{
    shape.m_bNumbers = true;
    uint32_t uIndex = 0;
    for (; uIndex < uLength && aEntries.size() < MAX_ELEMENTS; ++uIndex) {
        bool bHas = false;
        if (!array->HasRealIndexedProperty(m_context, uIndex).To(&bHas))
            return false;
        if (!bHas)
            break;
        bool bNumber = false;
        if (!FormatElement(array, uIndex, iLevel, aEntries, bNumber))
            return false;
        shape.m_bNumbers = shape.m_bNumbers && bNumber;
    }
    if (uIndex < uLength && aEntries.size() < MAX_ELEMENTS) {
        shape.m_bNumbers = false;
        v8::Local<v8::Array> keys;
        if (!array->GetPropertyNames(m_context, v8::KeyCollectionMode::kOwnOnly,
                                     static_cast<v8::PropertyFilter>(v8::ALL_PROPERTIES | v8::SKIP_SYMBOLS),
                                     v8::IndexFilter::kIncludeIndices, v8::KeyConversionMode::kKeepNumbers)
                 .ToLocal(&keys))
            return false;
        for (uint32_t k = 0; k < keys->Length() && aEntries.size() < MAX_ELEMENTS; ++k) {
            v8::Local<v8::Value> key;
            if (!keys->Get(m_context, k).ToLocal(&key))
                return false;
            if (!key->IsNumber())
                break;  // the indices come first
            double dIndex = key.As<v8::Number>()->Value();
            if (dIndex < uIndex || dIndex >= uLength)
                continue;
            uint32_t uKey = static_cast<uint32_t>(dIndex);
            if (uKey > uIndex) {
                aEntries.push_back("<" + Plural(uKey - uIndex, "empty item") + ">");
                uIndex = uKey;
                if (aEntries.size() >= MAX_ELEMENTS)
                    break;
            }
            bool bNumber = false;
            if (!FormatElement(array, uKey, iLevel, aEntries, bNumber))
                return false;
            uIndex = uKey + 1;
        }
        if (uIndex < uLength && aEntries.size() < MAX_ELEMENTS) {
            aEntries.push_back("<" + Plural(uLength - uIndex, "empty item") + ">");
            uIndex = uLength;
        }
    }
    if (uIndex < uLength) {
        aEntries.push_back("... " + Plural(uLength - uIndex, "more item"));
        shape.m_bMore = true;
    }
    return true;
}

// A Map's or Set's entries, or an iterator's: values, or key-value pairs
// shown with the arrow (Map) or as [ key, value ] (an entries iterator).
bool CInspection::FormatList(v8::Local<v8::Array> list, bool bPairs, const char* pszArrow, int iLevel,
                             uint32_t uSize, CShape& shape, std::vector<std::string>& aEntries)
{
    uint32_t uStep = bPairs ? 2 : 1;
    uint32_t uShown = std::min(uSize, MAX_ELEMENTS);
    for (uint32_t i = 0; i < uShown; ++i) {
        v8::Local<v8::Value> first, second;
        if (!list->Get(m_context, i * uStep).ToLocal(&first))
            return false;
        std::string strFirst, strSecond;
        if (!FormatChild(first, iLevel, strFirst))
            return false;
        if (!bPairs) {
            aEntries.push_back(strFirst);
            continue;
        }
        if (!list->Get(m_context, i * uStep + 1).ToLocal(&second) || !FormatChild(second, iLevel, strSecond))
            return false;
        if (pszArrow != nullptr) {
            aEntries.push_back(strFirst + pszArrow + strSecond);
        } else {
            std::vector<std::string> aPair{strFirst, strSecond};
            CShape pair;
            pair.m_strOpen = "[";
            pair.m_strClose = "]";
            m_iIndentation += 2;
            aEntries.push_back(Reduce(aPair, pair, iLevel));
            m_iIndentation -= 2;
        }
    }
    if (uSize > uShown) {
        aEntries.push_back("... " + Plural(uSize - uShown, "more item"));
        shape.m_bMore = true;
    }
    return true;
}

bool CInspection::FunctionText(v8::Local<v8::Function> function, std::string& strOut)
{
    v8::Local<v8::Value> name;
    if (!function->Get(m_context, Name("name")).ToLocal(&name))
        return false;
    std::string strName = name->IsString() ? TextOfValue(m_pIsolate, name) : std::string();
    v8::Local<v8::String> source;
    bool bClass = function->FunctionProtoToString(m_context).ToLocal(&source) &&
                  TextOfValue(m_pIsolate, source).compare(0, 5, "class") == 0;
    if (bClass) {
        strOut = "[class " + (strName.empty() ? std::string("(anonymous)") : strName);
        v8::Local<v8::Value> parent = function->GetPrototype();
        if (parent->IsFunction()) {
            v8::Local<v8::Value> parentName;
            if (!parent.As<v8::Object>()->Get(m_context, Name("name")).ToLocal(&parentName))
                return false;
            if (parentName->IsString() && parentName.As<v8::String>()->Length() > 0)
                strOut += " extends " + TextOfValue(m_pIsolate, parentName);
        }
        strOut += "]";
        return true;
    }
    std::string strType = function->IsGeneratorFunction() ? "GeneratorFunction" : "Function";
    if (function->IsAsyncFunction())
        strType = "Async" + strType;
    strOut = "[" + strType + (strName.empty() ? std::string(" (anonymous)") : ": " + strName) + "]";
    return true;
}

// String(value), for the name and message of an error without a stack.
bool CInspection::StringOf(v8::Local<v8::Value> value, std::string& strOut)
{
    return DisplayText(m_pIsolate, value, strOut);
}

// The error's stack (or "Name: message" without one), with the class's
// name where the stack does not give it, framed in [] when it lists no
// calls, and each line moved in to where the error stands. Own properties
// that the text already shows are listed in aHiddenKeys.
bool CInspection::ErrorText(v8::Local<v8::Object> error, const std::string& strConstructor, std::string& strOut,
                            std::vector<std::string>& aHiddenKeys)
{
    v8::Local<v8::Value> stack, name, message;
    if (!error->Get(m_context, Name("stack")).ToLocal(&stack) ||
        !error->Get(m_context, Name("name")).ToLocal(&name) ||
        !error->Get(m_context, Name("message")).ToLocal(&message))
        return false;
    std::string strName = "Error", strMessage;
    if (!name->IsUndefined() && !StringOf(name, strName))
        return false;
    if (!message->IsUndefined() && !StringOf(message, strMessage))
        return false;
    if (stack->IsString() && stack.As<v8::String>()->Length() > 0) {
        strOut = TextOfValue(m_pIsolate, stack);
    } else {
        strOut = strName.empty() ? strMessage
                 : strMessage.empty() ? strName
                                      : strName + ": " + strMessage;
    }
    aHiddenKeys.push_back("stack");
    if (strOut.find(strName) != std::string::npos)
        aHiddenKeys.push_back("name");
    if (!strMessage.empty() && strOut.find(strMessage) != std::string::npos)
        aHiddenKeys.push_back("message");

    std::size_t uNameLength = strName.size();
    if (!strConstructor.empty() && strConstructor != strName && !strName.empty() &&
        strOut.compare(0, uNameLength, strName) == 0 &&
        (strOut.size() == uNameLength || strOut[uNameLength] == ':' || strOut[uNameLength] == '\n')) {
        std::string strLabel = strConstructor.find(strName) != std::string::npos
                                   ? strConstructor
                                   : strConstructor + " [" + strName + "]";
        strOut = strLabel + strOut.substr(uNameLength);
    }
    if (strOut.find("\n    at") == std::string::npos)
        strOut = "[" + strOut + "]";
    if (m_iIndentation > 0) {
        std::string strIndented;
        for (char c : strOut) {
            strIndented += c;
            if (c == '\n')
                strIndented += Spaces(m_iIndentation);
        }
        strOut.swap(strIndented);
    }
    return true;
}

bool CInspection::FormatProxy(v8::Local<v8::Proxy> proxy, int iLevel, std::string& strOut)
{
    if (proxy->IsRevoked()) {
        strOut = "<Revoked Proxy>";
        return true;
    }
    if (!m_options.m_bShowHidden) {
        // What the proxy stands for, without running a single trap.
        v8::Local<v8::Value> target = proxy->GetTarget();
        while (target->IsProxy()) {
            if (target.As<v8::Proxy>()->IsRevoked()) {
                strOut = "<Revoked Proxy>";
                return true;
            }
            target = target.As<v8::Proxy>()->GetTarget();
        }
        return Format(target, iLevel, strOut);
    }
    if (iLevel > m_options.m_iDepth) {
        strOut = "Proxy [Array]";
        return true;
    }
    std::vector<std::string> aEntries(2);
    if (!FormatChild(proxy->GetTarget(), iLevel + 1, aEntries[0]) ||
        !FormatChild(proxy->GetHandler(), iLevel + 1, aEntries[1]))
        return false;
    CShape shape;
    shape.m_strOpen = "Proxy [";
    shape.m_strClose = "]";
    shape.m_bArrayLike = true;
    strOut = Reduce(aEntries, shape, iLevel);
    return true;
}

bool CInspection::FormatObject(v8::Local<v8::Object> object, int iLevel, std::string& strOut)
{
    if (object->IsProxy())
        return FormatProxy(object.As<v8::Proxy>(), iLevel, strOut);
    for (std::size_t i = 0; i < m_aSeen.size(); ++i) {
        if (m_aSeen[i] != object)
            continue;
        auto it = std::find(m_aReferenced.begin(), m_aReferenced.end(), object);
        if (it == m_aReferenced.end())
            it = m_aReferenced.insert(m_aReferenced.end(), object);
        strOut = "[Circular *" + std::to_string(it - m_aReferenced.begin() + 1) + "]";
        return true;
    }

    m_aSeen.push_back(object);
    CShape shape;
    std::vector<std::string> aEntries;
    bool bDone = FormatEntries(object, iLevel, shape, aEntries);
    m_aSeen.pop_back();
    if (!bDone)
        return false;
    if (shape.m_strOpen.empty()) {
        // Shown without braces: the depth was reached, or there is nothing
        // inside (the text is in m_strBase).
        strOut = shape.m_strBase;
    } else {
        strOut = Reduce(aEntries, shape, iLevel);
    }
    auto it = std::find(m_aReferenced.begin(), m_aReferenced.end(), object);
    if (it != m_aReferenced.end())
        strOut = "<ref *" + std::to_string(it - m_aReferenced.begin() + 1) + "> " + strOut;
    return true;
}

// Fills the shape and entries of an object of any kind. An object shown
// without braces leaves m_strOpen empty and its text in m_strBase.
bool CInspection::FormatEntries(v8::Local<v8::Object> object, int iLevel, CShape& shape,
                                std::vector<std::string>& aEntries)
{
    std::string strConstructor, strTag;
    bool bNullPrototype = false;
    if (!ConstructorName(object, strConstructor, bNullPrototype) ||
        !StringTag(object, strConstructor, strTag))
        return false;
    auto prefix = [&](const char* pszFallback, const std::string& strSize = std::string()) {
        return Prefix(strConstructor, bNullPrototype, strTag, pszFallback, strSize);
    };
    v8::Local<v8::Array> keys;
    bool bSkipIndices = object->IsArray() || object->IsTypedArray() || object->IsStringObject();
    if (!OwnKeys(object, bSkipIndices, keys))
        return false;
    bool bKeys = keys->Length() > 0;
    // Entries beyond the properties: elements, a Map's pairs, a promise's state.
    enum { NONE, ARRAY, TYPED, MAP, SET, ITERATOR, PROMISE, WEAK, BUFFER } eExtra = NONE;
    uint32_t uSize = 0;
    std::vector<std::string> aHiddenKeys;
    bool bCause = false;

    if (object->IsArray()) {
        uSize = object.As<v8::Array>()->Length();
        bool bPlain = strConstructor == "Array" && !bNullPrototype && strTag.empty();
        shape.m_strOpen = (bPlain ? std::string() : prefix("Array", "(" + std::to_string(uSize) + ")")) + "[";
        shape.m_strClose = "]";
        shape.m_bArrayLike = true;
        eExtra = ARRAY;
    } else if (object->IsTypedArray()) {
        uSize = static_cast<uint32_t>(object.As<v8::TypedArray>()->Length());
        shape.m_strOpen = prefix("TypedArray", "(" + std::to_string(uSize) + ")") + "[";
        shape.m_strClose = "]";
        shape.m_bArrayLike = true;
        eExtra = TYPED;
    } else if (object->IsMap() || object->IsSet()) {
        bool bMap = object->IsMap();
        uSize = static_cast<uint32_t>(bMap ? object.As<v8::Map>()->Size() : object.As<v8::Set>()->Size());
        shape.m_strOpen = prefix(bMap ? "Map" : "Set", "(" + std::to_string(uSize) + ")") + "{";
        eExtra = bMap ? MAP : SET;
    } else if (object->IsMapIterator() || object->IsSetIterator()) {
        eExtra = ITERATOR;
        uSize = 1;
    } else if (object->IsWeakMap() || object->IsWeakSet()) {
        shape.m_strOpen = prefix(object->IsWeakMap() ? "WeakMap" : "WeakSet") + "{";
        eExtra = WEAK;
        uSize = 1;
    } else if (object->IsPromise()) {
        shape.m_strOpen = prefix("Promise") + "{";
        eExtra = PROMISE;
        uSize = 1;
    } else if (object->IsArrayBuffer() || object->IsSharedArrayBuffer()) {
        shape.m_strOpen = prefix(object->IsArrayBuffer() ? "ArrayBuffer" : "SharedArrayBuffer") + "{";
        eExtra = BUFFER;
        uSize = 1;
    } else if (object->IsFunction()) {
        if (!FunctionText(object.As<v8::Function>(), shape.m_strBase))
            return false;
    } else if (object->IsNativeError()) {
        if (!ErrorText(object, strConstructor, shape.m_strBase, aHiddenKeys))
            return false;
        v8::Local<v8::Object> descriptor;
        v8::Local<v8::Value> enumerable;
        if (!Describe(object, Name("cause"), descriptor) ||
            (!descriptor.IsEmpty() && !OwnField(descriptor, "enumerable", enumerable)))
            return false;
        bCause = !descriptor.IsEmpty() && !m_options.m_bShowHidden && !enumerable->IsTrue();
    } else if (object->IsDate()) {
        shape.m_strBase = IsoDate(object.As<v8::Date>()->ValueOf());
    } else if (object->IsRegExp()) {
        v8::Local<v8::RegExp> regexp = object.As<v8::RegExp>();
        std::string strFlags;
        int iFlags = regexp->GetFlags();
        static const struct { int m_iFlag; char m_cLetter; } FLAGS[] = {
            {v8::RegExp::kHasIndices, 'd'}, {v8::RegExp::kGlobal, 'g'}, {v8::RegExp::kIgnoreCase, 'i'},
            {v8::RegExp::kMultiline, 'm'}, {v8::RegExp::kDotAll, 's'}, {v8::RegExp::kUnicode, 'u'},
            {v8::RegExp::kSticky, 'y'}};
        for (const auto& flag : FLAGS) {
            if (iFlags & flag.m_iFlag)
                strFlags += flag.m_cLetter;
        }
        shape.m_strBase = "/" + TextOfValue(m_pIsolate, regexp->GetSource()) + "/" + strFlags;
    } else if (object->IsNumberObject()) {
        shape.m_strBase = "[Number: " + NumberText(m_pIsolate, object.As<v8::NumberObject>()->ValueOf()) + "]";
    } else if (object->IsStringObject()) {
        shape.m_strBase = "[String: " + QuotedText(m_pIsolate, object.As<v8::StringObject>()->ValueOf()) + "]";
    } else if (object->IsBooleanObject()) {
        shape.m_strBase = std::string("[Boolean: ") + (object.As<v8::BooleanObject>()->ValueOf() ? "true" : "false") + "]";
    } else if (object->IsBigIntObject()) {
        shape.m_strBase = "[BigInt: " + Primitive(object.As<v8::BigIntObject>()->ValueOf()) + "]";
    } else if (object->IsSymbolObject()) {
        shape.m_strBase = "[Symbol: " + Primitive(object.As<v8::SymbolObject>()->ValueOf()) + "]";
    } else if (strConstructor == "Object" && !bNullPrototype) {
        shape.m_strOpen = (strTag.empty() ? std::string() : prefix("Object")) + "{";
    } else {
        shape.m_strOpen = prefix("Object") + "{";
    }

    if (!shape.m_strBase.empty()) {
        // Shown by its text alone unless it has properties of its own.
        bool bShown = bCause;
        for (uint32_t i = 0; i < keys->Length() && !bShown; ++i) {
            v8::Local<v8::Value> key;
            if (!keys->Get(m_context, i).ToLocal(&key))
                return false;
            std::string strKey = key->IsString() ? TextOfValue(m_pIsolate, key) : std::string();
            bShown = !key->IsString() ||
                     std::find(aHiddenKeys.begin(), aHiddenKeys.end(), strKey) == aHiddenKeys.end();
        }
        if (!bShown) {
            shape.m_strOpen.clear();
            return true;
        }
        shape.m_strOpen = "{";
    } else if (uSize == 0 && !bKeys) {
        shape.m_strBase = shape.m_strOpen + shape.m_strClose;
        shape.m_strOpen.clear();
        return true;
    }

    if (iLevel > m_options.m_iDepth) {
        std::string strName = bNullPrototype ? "Object: null prototype"
                              : !strConstructor.empty() ? strConstructor
                              : !strTag.empty() ? strTag
                                                : "Object";
        shape.m_strBase = "[" + strName + "]";
        shape.m_strOpen.clear();
        return true;
    }

    m_iCurrentDepth = iLevel;
    int iChild = iLevel + 1;
    switch (eExtra) {
    case ARRAY:
        if (!FormatElements(object, uSize, iChild, shape, aEntries))
            return false;
        break;
    case TYPED: {
        uint32_t uShown = std::min(uSize, MAX_ELEMENTS);
        shape.m_bNumbers = true;
        for (uint32_t i = 0; i < uShown; ++i) {
            v8::Local<v8::Value> element;
            if (!object->Get(m_context, i).ToLocal(&element))
                return false;
            aEntries.push_back(Primitive(element));
        }
        if (uSize > uShown) {
            aEntries.push_back("... " + Plural(uSize - uShown, "more item"));
            shape.m_bMore = true;
        }
        break;
    }
    case MAP:
        if (!FormatList(object.As<v8::Map>()->AsArray(), true, " => ", iChild, uSize, shape, aEntries))
            return false;
        break;
    case SET:
        if (!FormatList(object.As<v8::Set>()->AsArray(), false, nullptr, iChild, uSize, shape, aEntries))
            return false;
        break;
    case ITERATOR: {
        bool bPairs = false;
        v8::Local<v8::Array> preview;
        if (!object->PreviewEntries(&bPairs).ToLocal(&preview))
            return false;
        std::string strKind = strTag.empty() ? std::string("Iterator") : strTag;
        if (bPairs && strKind.size() > 9 && strKind.compare(strKind.size() - 9, 9, " Iterator") == 0)
            strKind = strKind.substr(0, strKind.size() - 9) + " Entries";
        shape.m_strOpen = "[" + strKind + "] {";
        if (!FormatList(preview, bPairs, nullptr, iChild, preview->Length() / (bPairs ? 2 : 1), shape, aEntries))
            return false;
        break;
    }
    case WEAK:
        aEntries.push_back("<items unknown>");
        break;
    case PROMISE: {
        v8::Local<v8::Promise> promise = object.As<v8::Promise>();
        if (promise->State() == v8::Promise::kPending) {
            aEntries.push_back("<pending>");
            break;
        }
        std::string strResult;
        if (!FormatChild(promise->Result(), iChild, strResult))
            return false;
        aEntries.push_back((promise->State() == v8::Promise::kRejected ? "<rejected> " : "") + strResult);
        break;
    }
    case BUFFER: {
        std::shared_ptr<v8::BackingStore> store = object->IsArrayBuffer()
                                                      ? object.As<v8::ArrayBuffer>()->GetBackingStore()
                                                      : object.As<v8::SharedArrayBuffer>()->GetBackingStore();
        std::size_t uBytes = store->ByteLength();
        const unsigned char* pData = static_cast<const unsigned char*>(store->Data());
        std::string strBytes = "[Uint8Contents]: <";
        for (std::size_t i = 0; i < std::min<std::size_t>(uBytes, MAX_BYTES); ++i) {
            char szByte[4];
            std::snprintf(szByte, sizeof szByte, "%s%02x", i == 0 ? "" : " ", pData[i]);
            strBytes += szByte;
        }
        if (uBytes > MAX_BYTES)
            strBytes += " ... " + Plural(uBytes - MAX_BYTES, "more byte");
        aEntries.push_back(strBytes + ">");
        aEntries.push_back("byteLength: " + std::to_string(uBytes));
        break;
    }
    case NONE:
        break;
    }

    for (uint32_t i = 0; i < keys->Length(); ++i) {
        v8::Local<v8::Value> key;
        if (!keys->Get(m_context, i).ToLocal(&key))
            return false;
        if (key->IsString() &&
            std::find(aHiddenKeys.begin(), aHiddenKeys.end(), TextOfValue(m_pIsolate, key)) != aHiddenKeys.end())
            continue;
        std::string strEntry;
        if (!FormatProperty(object, key.As<v8::Name>(), iChild, strEntry))
            return false;
        aEntries.push_back(strEntry);
    }
    if (bCause) {
        v8::Local<v8::Value> cause;
        std::string strCause;
        if (!object->Get(m_context, Name("cause")).ToLocal(&cause) || !FormatChild(cause, iChild, strCause))
            return false;
        aEntries.push_back("[cause]: " + strCause);
    }
    return true;
}

// Many short elements are set in columns, about as wide as they are tall.
void CInspection::Group(std::vector<std::string>& aEntries, const CShape& shape)
{
    const std::size_t uSeparator = 2;  // ", "
    std::size_t uCount = aEntries.size() - (shape.m_bMore ? 1 : 0);
    std::vector<std::size_t> aWidths(uCount);
    double dTotal = 0;
    std::size_t uMax = 0;
    for (std::size_t i = 0; i < uCount; ++i) {
        aWidths[i] = Width(aEntries[i]);
        dTotal += static_cast<double>(aWidths[i] + uSeparator);
        uMax = std::max(uMax, aWidths[i]);
    }
    double dColumn = static_cast<double>(uMax + uSeparator);
    if (!(dColumn * 3 + m_iIndentation < BREAK_LENGTH && (dTotal / dColumn > 5 || uMax <= 6)))
        return;
    double dBias = std::sqrt(dColumn - dTotal / static_cast<double>(aEntries.size()));
    double dBiasedColumn = std::max(dColumn - 3 - dBias, 1.0);
    double dColumns = std::min({std::round(std::sqrt(2.5 * dBiasedColumn * static_cast<double>(uCount)) / dBiasedColumn),
                                std::floor((BREAK_LENGTH - m_iIndentation) / dColumn),
                                static_cast<double>(COMPACT_LEVELS * 4), 15.0});
    std::size_t uColumns = static_cast<std::size_t>(dColumns);
    if (uColumns <= 1)
        return;
    std::vector<std::size_t> aColumnWidths(uColumns, 0);
    for (std::size_t i = 0; i < uCount; ++i)
        aColumnWidths[i % uColumns] = std::max(aColumnWidths[i % uColumns], aWidths[i] + uSeparator);
    std::vector<std::string> aRows;
    for (std::size_t i = 0; i < uCount; i += uColumns) {
        std::size_t uEnd = std::min(i + uColumns, uCount);
        std::string strRow;
        for (std::size_t j = i; j < uEnd; ++j) {
            bool bLast = j + 1 == uEnd;
            std::string strCell = bLast ? aEntries[j] : aEntries[j] + ", ";
            std::size_t uCellWidth = aWidths[j] + (bLast ? 0 : uSeparator);
            std::size_t uColumnWidth = aColumnWidths[j - i] - (bLast ? uSeparator : 0);
            std::string strPad = uColumnWidth > uCellWidth ? Spaces(static_cast<int>(uColumnWidth - uCellWidth)) : "";
            if (shape.m_bNumbers)
                strRow += strPad + strCell;
            else
                strRow += bLast ? strCell : strCell + strPad;
        }
        aRows.push_back(strRow);
    }
    if (shape.m_bMore)
        aRows.push_back(aEntries.back());
    aEntries.swap(aRows);
}

// One line when it fits in 80 columns and holds at most the innermost three
// levels; else one entry (or one row of columns) per line.
std::string CInspection::Reduce(std::vector<std::string>& aEntries, const CShape& shape, int iLevel)
{
    std::string strBase = shape.m_strBase.empty() ? std::string() : shape.m_strBase + " ";
    std::size_t uEntries = aEntries.size();
    if (shape.m_bArrayLike && uEntries > 6)
        Group(aEntries, shape);
    if (m_iCurrentDepth - iLevel < COMPACT_LEVELS && uEntries == aEntries.size() &&
        shape.m_strBase.find('\n') == std::string::npos) {
        std::size_t uLength = 2 * aEntries.size() + static_cast<std::size_t>(m_iIndentation) +
                              Width(shape.m_strOpen) + Width(shape.m_strBase) + 10;
        bool bNewline = false;
        for (const std::string& strEntry : aEntries) {
            uLength += Width(strEntry);
            bNewline = bNewline || strEntry.find('\n') != std::string::npos;
        }
        if (uLength <= static_cast<std::size_t>(BREAK_LENGTH) && !bNewline) {
            std::string strLine = strBase + shape.m_strOpen + " ";
            for (std::size_t i = 0; i < aEntries.size(); ++i)
                strLine += (i > 0 ? ", " : "") + aEntries[i];
            return strLine + " " + shape.m_strClose;
        }
    }
    std::string strIndentation = "\n" + Spaces(m_iIndentation);
    std::string strText = strBase + shape.m_strOpen;
    for (std::size_t i = 0; i < aEntries.size(); ++i)
        strText += (i > 0 ? "," : "") + strIndentation + "  " + aEntries[i];
    return strText + strIndentation + shape.m_strClose;
}

}  // namespace

std::string QuotedText(v8::Isolate* pIsolate, v8::Local<v8::String> text)
{
    int iLength = text->Length();
    int iShown = std::min(iLength, MAX_STRING);
    std::vector<uint16_t> aUnits(static_cast<std::size_t>(iShown) + 1);
    text->Write(pIsolate, aUnits.data(), 0, iShown, v8::String::NO_NULL_TERMINATION);
    bool bSingle = false, bDouble = false, bBacktick = false;
    for (int i = 0; i < iShown; ++i) {
        bSingle = bSingle || aUnits[i] == '\'';
        bDouble = bDouble || aUnits[i] == '"';
        bBacktick = bBacktick || aUnits[i] == '`';
    }
    char cQuote = !bSingle ? '\'' : !bDouble ? '"' : !bBacktick ? '`' : '\'';
    std::string strOut(1, cQuote);
    for (int i = 0; i < iShown; ++i) {
        uint32_t uUnit = aUnits[i];
        char szEscape[8];
        if (uUnit == static_cast<uint32_t>(cQuote) || uUnit == '\\') {
            strOut += '\\';
            strOut += static_cast<char>(uUnit);
        } else if (uUnit == '\n') {
            strOut += "\\n";
        } else if (uUnit == '\t') {
            strOut += "\\t";
        } else if (uUnit == '\r') {
            strOut += "\\r";
        } else if (uUnit == '\b') {
            strOut += "\\b";
        } else if (uUnit == '\f') {
            strOut += "\\f";
        } else if (uUnit < 0x20 || uUnit == 0x7F) {
            std::snprintf(szEscape, sizeof szEscape, "\\x%02X", uUnit);
            strOut += szEscape;
        } else if (uUnit >= 0xD800 && uUnit <= 0xDBFF && i + 1 < iShown && aUnits[i + 1] >= 0xDC00 &&
                   aUnits[i + 1] <= 0xDFFF) {
            strOut += Bridge::TextOfUtf16(&aUnits[i], 2);
            ++i;
        } else if (uUnit >= 0xD800 && uUnit <= 0xDFFF) {
            std::snprintf(szEscape, sizeof szEscape, "\\u%04x", uUnit);
            strOut += szEscape;
        } else {
            strOut += Bridge::TextOfUtf16(&aUnits[i], 1);
        }
    }
    strOut += cQuote;
    if (iLength > iShown)
        strOut += "... " + Plural(static_cast<uint64_t>(iLength - iShown), "more character");
    return strOut;
}

std::string NumberText(v8::Isolate* pIsolate, double dValue)
{
    if (dValue == 0 && std::signbit(dValue))
        return "-0";
    v8::Local<v8::String> text;
    if (!v8::Number::New(pIsolate, dValue)->ToString(pIsolate->GetCurrentContext()).ToLocal(&text))
        return "NaN";
    return TextOfValue(pIsolate, text);
}

bool InspectValue(v8::Local<v8::Context> context, v8::Local<v8::Value> value, const CInspectOptions& options,
                  std::string& strOut)
{
    CInspection inspection(context, options);
    return inspection.Format(value, 0, strOut);
}

}  // namespace Kite
