// What each kind of object shows: its braces and prefix, a base text
// (functions, errors, dates, regular expressions, boxed primitives) and
// entries besides its properties (elements, a Map's pairs, a promise's
// state, a buffer's bytes).
#include <algorithm>
#include <cstdio>
#include <memory>

#include "console/Inspection.h"
#include "console/IsoDate.h"
#include "console/PrimitiveText.h"
#include "console/ScriptValues.h"
#include "console/TextWidth.h"

namespace Kite {

namespace {

// Node's limit: buffers show 100 bytes.
const std::size_t MAX_BYTES = 100;

std::string SizeText(uint32_t uSize)
{
    return "(" + std::to_string(uSize) + ")";
}

// Every line after the first moved in by iIndentation columns.
std::string Indented(const std::string& strText, int iIndentation)
{
    if (iIndentation <= 0)
        return strText;
    std::string strIndented;
    for (char c : strText) {
        strIndented += c;
        if (c == '\n')
            strIndented += Spaces(iIndentation);
    }
    return strIndented;
}

}  // namespace

// Fills the shape and entries of an object of any kind. An object shown
// without braces leaves m_strOpen empty and its text in m_strBase.
bool CInspection::FormatEntries(v8::Local<v8::Object> object, int iLevel, CShape& shape,
                                std::vector<std::string>& aEntries)
{
    CObjectFacts facts;
    v8::Local<v8::Array> keys;
    if (!ReadFacts(object, facts, keys) || !DescribeKind(object, facts, shape))
        return false;
    if (!shape.m_strBase.empty()) {
        bool bAlone = false;
        if (!ShownByBaseAlone(keys, facts, bAlone))
            return false;
        if (bAlone) {
            shape.m_strOpen.clear();
            return true;
        }
        shape.m_strOpen = "{";
    } else if (facts.m_uSize == 0 && keys->Length() == 0) {
        shape.m_strBase = shape.m_strOpen + shape.m_strClose;
        shape.m_strOpen.clear();
        return true;
    }
    if (BeyondDepth(iLevel)) {
        std::string strName = facts.m_bNullPrototype          ? "Object: null prototype"
                              : !facts.m_strConstructor.empty() ? facts.m_strConstructor
                              : !facts.m_strTag.empty()         ? facts.m_strTag
                                                                : "Object";
        shape.m_strBase = "[" + strName + "]";
        shape.m_strOpen.clear();
        return true;
    }
    m_iCurrentDepth = iLevel;
    return FormatKindEntries(object, facts, iLevel + 1, shape, aEntries) &&
           FormatProperties(object, keys, facts, iLevel + 1, aEntries);
}

bool CInspection::ReadFacts(v8::Local<v8::Object> object, CObjectFacts& facts, v8::Local<v8::Array>& keys)
{
    bool bSkipIndices = object->IsArray() || object->IsTypedArray() || object->IsStringObject();
    return m_reader.ConstructorName(object, facts.m_strConstructor, facts.m_bNullPrototype) &&
           m_reader.StringTag(object, facts.m_strConstructor, facts.m_strTag) &&
           m_reader.OwnKeys(object, bSkipIndices, keys);
}

// "Foo ", "Map(2) ", "Foo(1) [Map] ", "[Object: null prototype] ".
std::string CInspection::Prefix(const CObjectFacts& facts, const char* pszFallback, const std::string& strSize)
{
    if (facts.m_bNullPrototype) {
        std::string strPrefix = std::string("[") + pszFallback + strSize + ": null prototype] ";
        if (!facts.m_strTag.empty() && facts.m_strTag != pszFallback)
            strPrefix += "[" + facts.m_strTag + "] ";
        return strPrefix;
    }
    if (!facts.m_strTag.empty())
        return facts.m_strConstructor + strSize + " [" + facts.m_strTag + "] ";
    return facts.m_strConstructor + strSize + " ";
}

bool CInspection::DescribeKind(v8::Local<v8::Object> object, CObjectFacts& facts, CShape& shape)
{
    return DescribeCollection(object, facts, shape) || DescribeBase(object, facts, shape);
}

// The kinds with entries of their own; false for any other kind.
bool CInspection::DescribeCollection(v8::Local<v8::Object> object, CObjectFacts& facts, CShape& shape)
{
    if (object->IsArray() || object->IsTypedArray()) {
        bool bArray = object->IsArray();
        facts.m_uSize = bArray ? object.As<v8::Array>()->Length()
                               : static_cast<uint32_t>(object.As<v8::TypedArray>()->Length());
        bool bPlain = bArray && facts.m_strConstructor == "Array" && !facts.m_bNullPrototype && facts.m_strTag.empty();
        shape.m_strOpen = (bPlain ? std::string() : Prefix(facts, bArray ? "Array" : "TypedArray", SizeText(facts.m_uSize))) + "[";
        shape.m_strClose = "]";
        shape.m_bArrayLike = true;
        facts.m_eKind = bArray ? KIND_ARRAY : KIND_TYPED;
    } else if (object->IsMap() || object->IsSet()) {
        bool bMap = object->IsMap();
        facts.m_uSize = static_cast<uint32_t>(bMap ? object.As<v8::Map>()->Size() : object.As<v8::Set>()->Size());
        shape.m_strOpen = Prefix(facts, bMap ? "Map" : "Set", SizeText(facts.m_uSize)) + "{";
        facts.m_eKind = bMap ? KIND_MAP : KIND_SET;
    } else if (object->IsMapIterator() || object->IsSetIterator()) {
        facts.m_eKind = KIND_ITERATOR;
    } else if (object->IsWeakMap() || object->IsWeakSet()) {
        shape.m_strOpen = Prefix(facts, object->IsWeakMap() ? "WeakMap" : "WeakSet") + "{";
        facts.m_eKind = KIND_WEAK;
    } else if (object->IsPromise()) {
        shape.m_strOpen = Prefix(facts, "Promise") + "{";
        facts.m_eKind = KIND_PROMISE;
    } else if (object->IsArrayBuffer() || object->IsSharedArrayBuffer()) {
        shape.m_strOpen = Prefix(facts, object->IsArrayBuffer() ? "ArrayBuffer" : "SharedArrayBuffer") + "{";
        facts.m_eKind = KIND_BUFFER;
    } else {
        return false;
    }
    if (facts.m_eKind != KIND_ARRAY && facts.m_eKind != KIND_TYPED && facts.m_eKind != KIND_MAP &&
        facts.m_eKind != KIND_SET)
        facts.m_uSize = 1;  // always an entry: the state, the bytes, <items unknown>
    return true;
}

// The kinds shown by a text of their own, and plain objects.
bool CInspection::DescribeBase(v8::Local<v8::Object> object, CObjectFacts& facts, CShape& shape)
{
    if (object->IsFunction())
        return FunctionText(object.As<v8::Function>(), shape.m_strBase);
    if (object->IsNativeError()) {
        bool bHiddenCause = false;
        if (!ErrorText(object, facts.m_strConstructor, shape.m_strBase, facts.m_aShownKeys) ||
            !m_reader.IsHiddenOwn(object, m_reader.Key(CValueReader::KEY_CAUSE), bHiddenCause))
            return false;
        facts.m_bCause = bHiddenCause && !m_options.m_bShowHidden;
        return true;
    }
    if (object->IsDate())
        shape.m_strBase = IsoDateText(object.As<v8::Date>()->ValueOf());
    else if (object->IsRegExp())
        shape.m_strBase = RegExpText(object.As<v8::RegExp>());
    else
        shape.m_strBase = BoxedText(object);
    if (shape.m_strBase.empty() && (facts.m_strConstructor != "Object" || facts.m_bNullPrototype || !facts.m_strTag.empty()))
        shape.m_strOpen = Prefix(facts, "Object") + "{";
    return true;
}

// An object with a base text shows that text alone unless it has
// properties that the text does not show.
bool CInspection::ShownByBaseAlone(v8::Local<v8::Array> keys, const CObjectFacts& facts, bool& bAlone)
{
    bAlone = !facts.m_bCause;
    for (uint32_t i = 0; i < keys->Length() && bAlone; ++i) {
        v8::Local<v8::Value> key;
        if (!keys->Get(m_context, i).ToLocal(&key))
            return false;
        bAlone = key->IsString() && std::find(facts.m_aShownKeys.begin(), facts.m_aShownKeys.end(),
                                              TextOfValue(m_pIsolate, key)) != facts.m_aShownKeys.end();
    }
    return true;
}

bool CInspection::FormatKindEntries(v8::Local<v8::Object> object, const CObjectFacts& facts, int iLevel,
                                    CShape& shape, std::vector<std::string>& aEntries)
{
    switch (facts.m_eKind) {
    case KIND_ARRAY:
        return FormatElements(object, facts.m_uSize, iLevel, shape, aEntries);
    case KIND_TYPED:
        return FormatTypedElements(object, facts.m_uSize, shape, aEntries);
    case KIND_MAP:
        return FormatList(object.As<v8::Map>()->AsArray(), true, " => ", iLevel, facts.m_uSize, shape, aEntries);
    case KIND_SET:
        return FormatList(object.As<v8::Set>()->AsArray(), false, nullptr, iLevel, facts.m_uSize, shape, aEntries);
    case KIND_ITERATOR:
        return FormatIterator(object, facts.m_strTag, iLevel, shape, aEntries);
    case KIND_PROMISE:
        return FormatPromise(object.As<v8::Promise>(), iLevel, aEntries);
    case KIND_WEAK:
        aEntries.push_back("<items unknown>");
        return true;
    case KIND_BUFFER:
        FormatBuffer(object, aEntries);
        return true;
    case KIND_PLAIN:
        return true;
    }
    return true;
}

bool CInspection::FormatTypedElements(v8::Local<v8::Object> object, uint32_t uSize, CShape& shape,
                                      std::vector<std::string>& aEntries)
{
    uint32_t uShown = std::min(uSize, MAX_ELEMENTS);
    shape.m_bNumbers = true;
    for (uint32_t i = 0; i < uShown; ++i) {
        v8::Local<v8::Value> element;
        if (!object->Get(m_context, i).ToLocal(&element))
            return false;
        aEntries.push_back(PrimitiveText(m_context, element));
    }
    if (uSize > uShown) {
        aEntries.push_back("... " + Plural(uSize - uShown, "more item"));
        shape.m_bMore = true;
    }
    return true;
}

// [Map Iterator] { 1 }, [Map Entries] { [ 1, 2 ] }: what is left to iterate.
bool CInspection::FormatIterator(v8::Local<v8::Object> object, const std::string& strTag, int iLevel, CShape& shape,
                                 std::vector<std::string>& aEntries)
{
    bool bPairs = false;
    v8::Local<v8::Array> preview;
    if (!object->PreviewEntries(&bPairs).ToLocal(&preview))
        return false;
    std::string strKind = strTag.empty() ? std::string("Iterator") : strTag;
    const std::string strIterator = " Iterator";
    if (bPairs && strKind.size() > strIterator.size() &&
        strKind.compare(strKind.size() - strIterator.size(), strIterator.size(), strIterator) == 0)
        strKind = strKind.substr(0, strKind.size() - strIterator.size()) + " Entries";
    shape.m_strOpen = "[" + strKind + "] {";
    return FormatList(preview, bPairs, nullptr, iLevel, preview->Length() / (bPairs ? 2 : 1), shape, aEntries);
}

bool CInspection::FormatPromise(v8::Local<v8::Promise> promise, int iLevel, std::vector<std::string>& aEntries)
{
    if (promise->State() == v8::Promise::kPending) {
        aEntries.push_back("<pending>");
        return true;
    }
    std::string strResult;
    if (!FormatChild(promise->Result(), iLevel, strResult))
        return false;
    aEntries.push_back((promise->State() == v8::Promise::kRejected ? "<rejected> " : "") + strResult);
    return true;
}

void CInspection::FormatBuffer(v8::Local<v8::Object> buffer, std::vector<std::string>& aEntries)
{
    std::shared_ptr<v8::BackingStore> store = buffer->IsArrayBuffer()
                                                  ? buffer.As<v8::ArrayBuffer>()->GetBackingStore()
                                                  : buffer.As<v8::SharedArrayBuffer>()->GetBackingStore();
    std::size_t uBytes = store->ByteLength();
    const unsigned char* pData = static_cast<const unsigned char*>(store->Data());
    std::string strBytes = "[Uint8Contents]: <";
    for (std::size_t i = 0; i < std::min(uBytes, MAX_BYTES); ++i) {
        char szByte[4];
        std::snprintf(szByte, sizeof szByte, "%s%02x", i == 0 ? "" : " ", pData[i]);
        strBytes += szByte;
    }
    if (uBytes > MAX_BYTES)
        strBytes += " ... " + Plural(uBytes - MAX_BYTES, "more byte");
    aEntries.push_back(strBytes + ">");
    aEntries.push_back("byteLength: " + std::to_string(uBytes));
}

// [Function: f], [AsyncGeneratorFunction (anonymous)], [class A extends B].
bool CInspection::FunctionText(v8::Local<v8::Function> function, std::string& strOut)
{
    std::string strName;
    if (!m_reader.StringProperty(function, CValueReader::KEY_NAME, strName))
        return false;
    v8::Local<v8::String> source;
    bool bClass = function->FunctionProtoToString(m_context).ToLocal(&source) &&
                  TextOfValue(m_pIsolate, source).compare(0, 5, "class") == 0;
    if (!bClass) {
        std::string strType = function->IsGeneratorFunction() ? "GeneratorFunction" : "Function";
        if (function->IsAsyncFunction())
            strType = "Async" + strType;
        strOut = "[" + strType + (strName.empty() ? std::string(" (anonymous)") : ": " + strName) + "]";
        return true;
    }
    strOut = "[class " + (strName.empty() ? std::string("(anonymous)") : strName);
    v8::Local<v8::Value> parent = function->GetPrototype();
    std::string strParent;
    if (parent->IsFunction() && !m_reader.StringProperty(parent.As<v8::Object>(), CValueReader::KEY_NAME, strParent))
        return false;
    if (!strParent.empty())
        strOut += " extends " + strParent;
    strOut += "]";
    return true;
}

// The error's stack (or "Name: message" without one, or without stacks
// shown), with the class's name where the text does not give it, framed in
// [] when it lists no calls, and each line moved in to where the error
// stands. Own properties that the text already shows go to aShownKeys.
bool CInspection::ErrorText(v8::Local<v8::Object> error, const std::string& strConstructor, std::string& strOut,
                            std::vector<std::string>& aShownKeys)
{
    v8::Local<v8::Value> stack, name, message;
    if (!error->Get(m_context, m_reader.Key(CValueReader::KEY_STACK)).ToLocal(&stack) ||
        !error->Get(m_context, m_reader.Key(CValueReader::KEY_NAME)).ToLocal(&name) ||
        !error->Get(m_context, m_reader.Key(CValueReader::KEY_MESSAGE)).ToLocal(&message))
        return false;
    std::string strName = "Error", strMessage;
    if ((!name->IsUndefined() && !DisplayText(m_pIsolate, name, strName)) ||
        (!message->IsUndefined() && !DisplayText(m_pIsolate, message, strMessage)))
        return false;
    if (m_options.m_bErrorStacks && stack->IsString() && stack.As<v8::String>()->Length() > 0)
        strOut = TextOfValue(m_pIsolate, stack);
    else
        strOut = strName.empty() ? strMessage : strMessage.empty() ? strName : strName + ": " + strMessage;
    aShownKeys.push_back("stack");
    if (strOut.find(strName) != std::string::npos)
        aShownKeys.push_back("name");
    if (!strMessage.empty() && strOut.find(strMessage) != std::string::npos)
        aShownKeys.push_back("message");

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
    strOut = Indented(strOut, m_iIndentation);
    return true;
}

std::string CInspection::RegExpText(v8::Local<v8::RegExp> regexp)
{
    static const struct {
        int m_iFlag;
        char m_cLetter;
    } FLAGS[] = {{v8::RegExp::kHasIndices, 'd'}, {v8::RegExp::kGlobal, 'g'},  {v8::RegExp::kIgnoreCase, 'i'},
                 {v8::RegExp::kMultiline, 'm'},  {v8::RegExp::kDotAll, 's'},  {v8::RegExp::kUnicode, 'u'},
                 {v8::RegExp::kSticky, 'y'}};
    std::string strFlags;
    int iFlags = regexp->GetFlags();
    for (const auto& flag : FLAGS) {
        if (iFlags & flag.m_iFlag)
            strFlags += flag.m_cLetter;
    }
    return "/" + TextOfValue(m_pIsolate, regexp->GetSource()) + "/" + strFlags;
}

// [Number: 5], [String: 'ab']; empty for an object that boxes nothing.
std::string CInspection::BoxedText(v8::Local<v8::Object> object)
{
    if (object->IsNumberObject())
        return "[Number: " + NumberText(m_pIsolate, object.As<v8::NumberObject>()->ValueOf()) + "]";
    if (object->IsStringObject())
        return "[String: " + QuotedText(m_pIsolate, object.As<v8::StringObject>()->ValueOf()) + "]";
    if (object->IsBooleanObject())
        return std::string("[Boolean: ") + (object.As<v8::BooleanObject>()->ValueOf() ? "true" : "false") + "]";
    if (object->IsBigIntObject())
        return "[BigInt: " + PrimitiveText(m_context, object.As<v8::BigIntObject>()->ValueOf()) + "]";
    if (object->IsSymbolObject())
        return "[Symbol: " + PrimitiveText(m_context, object.As<v8::SymbolObject>()->ValueOf()) + "]";
    return std::string();
}

}  // namespace Kite
