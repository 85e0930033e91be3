#include "console/Inspect.h"

#include <algorithm>

#include "console/Inspection.h"
#include "console/PrimitiveText.h"
#include "console/ScriptValues.h"
#include "console/TextWidth.h"

namespace Kite {

namespace {

// Assertion messages go deeper than the console, and stop sooner on a huge value.
const int REPORT_DEPTH = 6;
const std::size_t REPORT_BUDGET = std::size_t(1) << 16;

}  // namespace

CInspectOptions ReportInspectOptions(bool bListing)
{
    CInspectOptions options;
    options.m_iDepth = REPORT_DEPTH;
    options.m_bErrorStacks = false;
    options.m_bListing = bListing;
    options.m_uBudget = REPORT_BUDGET;
    return options;
}

bool InspectValue(v8::Local<v8::Context> context, v8::Local<v8::Value> value, const CInspectOptions& options,
                  std::string& strOut)
{
    CInspection inspection(context, options);
    return inspection.Format(value, 0, strOut);
}

bool CInspection::Format(v8::Local<v8::Value> value, int iLevel, std::string& strOut)
{
    if (!value->IsObject()) {
        strOut = PrimitiveText(m_context, value);
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

bool CInspection::FormatObject(v8::Local<v8::Object> object, int iLevel, std::string& strOut)
{
    if (object->IsProxy())
        return FormatProxy(object.As<v8::Proxy>(), iLevel, strOut);
    if (std::find(m_aSeen.begin(), m_aSeen.end(), object) != m_aSeen.end()) {
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
    // Without braces: the depth was reached, or there is nothing inside
    // (the text is in m_strBase).
    strOut = shape.m_strOpen.empty() ? shape.m_strBase : Reduce(aEntries, shape, iLevel);
    auto it = std::find(m_aReferenced.begin(), m_aReferenced.end(), object);
    if (it != m_aReferenced.end())
        strOut = "<ref *" + std::to_string(it - m_aReferenced.begin() + 1) + "> " + strOut;
    m_uTextMade += strOut.size();
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
    if (BeyondDepth(iLevel)) {
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

bool CInspection::BeyondDepth(int iLevel) const
{
    return iLevel > m_options.m_iDepth || m_uTextMade > m_options.m_uBudget;
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

// "key: value", an accessor as [Getter], [Setter] or [Getter/Setter]
// without calling it.
bool CInspection::FormatProperty(v8::Local<v8::Object> object, v8::Local<v8::Name> key, int iLevel,
                                 std::string& strOut)
{
    v8::Local<v8::Object> descriptor;
    if (!m_reader.Describe(object, key, descriptor))
        return false;
    v8::Local<v8::Value> value = v8::Undefined(m_pIsolate);
    v8::Local<v8::Value> getter, setter, enumerable;
    if (!descriptor.IsEmpty()) {
        // A data property's descriptor has a value, an accessor's get and
        // set; only hidden keys are listed without being enumerable.
        v8::Local<v8::Value> field;
        if (!m_reader.OwnField(descriptor, CValueReader::KEY_VALUE, field))
            return false;
        if (!field.IsEmpty())
            value = field;
        else if (!m_reader.OwnField(descriptor, CValueReader::KEY_GET, getter) ||
                 !m_reader.OwnField(descriptor, CValueReader::KEY_SET, setter))
            return false;
        if (m_options.m_bShowHidden && !m_reader.OwnField(descriptor, CValueReader::KEY_ENUMERABLE, enumerable))
            return false;
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

// The own keys as entries, but those that the base text already shows.
bool CInspection::FormatProperties(v8::Local<v8::Object> object, v8::Local<v8::Array> keys,
                                   const CObjectFacts& facts, int iLevel, std::vector<std::string>& aEntries)
{
    for (uint32_t i = 0; i < keys->Length(); ++i) {
        v8::Local<v8::Value> key;
        if (!keys->Get(m_context, i).ToLocal(&key))
            return false;
        if (!facts.m_aShownKeys.empty() && key->IsString() &&
            std::find(facts.m_aShownKeys.begin(), facts.m_aShownKeys.end(), TextOfValue(m_pIsolate, key)) !=
                facts.m_aShownKeys.end())
            continue;
        std::string strEntry;
        if (!FormatProperty(object, key.As<v8::Name>(), iLevel, strEntry))
            return false;
        aEntries.push_back(strEntry);
    }
    if (!facts.m_bCause)
        return true;
    v8::Local<v8::Value> cause;
    std::string strCause;
    if (!object->Get(m_context, m_reader.Key(CValueReader::KEY_CAUSE)).ToLocal(&cause) || !FormatChild(cause, iLevel, strCause))
        return false;
    aEntries.push_back("[cause]: " + strCause);
    return true;
}

bool CInspection::FormatElement(v8::Local<v8::Object> array, uint32_t uIndex, int iLevel,
                                std::vector<std::string>& aEntries, bool& bNumber)
{
    v8::Local<v8::String> key = v8::Integer::NewFromUnsigned(m_pIsolate, uIndex)->ToString(m_context).ToLocalChecked();
    v8::Local<v8::Value> value;
    v8::Local<v8::Object> descriptor;
    if (!m_reader.Describe(array, key, descriptor))
        return false;
    if (!descriptor.IsEmpty() && !m_reader.OwnField(descriptor, CValueReader::KEY_VALUE, value))
        return false;
    std::string strEntry;
    if (value.IsEmpty()) {
        // An accessor: shown as a property would be, without its key.
        if (!FormatProperty(array, key, iLevel, strEntry))
            return false;
        aEntries.push_back(strEntry.substr(strEntry.find(": ") + 2));
        bNumber = false;
        return true;
    }
    bNumber = value->IsNumber() || value->IsBigInt();
    if (!FormatChild(value, iLevel, strEntry))
        return false;
    aEntries.push_back(strEntry);
    return true;
}

// An array's elements: holes as <N empty items>, the first hundred entries
// and a count of the rest.
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
        if (!FormatSparseElements(array, uLength, iLevel, uIndex, aEntries))
            return false;
    }
    if (uIndex < uLength) {
        aEntries.push_back("... " + Plural(uLength - uIndex, "more item"));
        shape.m_bMore = true;
    }
    return true;
}

// From the first hole on, the array is walked by its keys, so that a length
// of 2^32 - 1 costs what its elements cost. uIndex: the first index not
// shown yet.
bool CInspection::FormatSparseElements(v8::Local<v8::Object> array, uint32_t uLength, int iLevel, uint32_t& uIndex,
                                       std::vector<std::string>& aEntries)
{
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
        std::string strFirst, strSecond;
        if (!list->Get(m_context, i * uStep).ToLocal(&first) || !FormatChild(first, iLevel, strFirst))
            return false;
        if (!bPairs) {
            aEntries.push_back(strFirst);
            continue;
        }
        if (!list->Get(m_context, i * uStep + 1).ToLocal(&second) || !FormatChild(second, iLevel, strSecond))
            return false;
        if (pszArrow != nullptr) {
            aEntries.push_back(strFirst + pszArrow + strSecond);
            continue;
        }
        std::vector<std::string> aPair{strFirst, strSecond};
        CShape pair;
        pair.m_strOpen = "[";
        pair.m_strClose = "]";
        m_iIndentation += 2;
        aEntries.push_back(Reduce(aPair, pair, iLevel));
        m_iIndentation -= 2;
    }
    if (uSize > uShown) {
        aEntries.push_back("... " + Plural(uSize - uShown, "more item"));
        shape.m_bMore = true;
    }
    return true;
}

std::string CInspection::Reduce(std::vector<std::string>& aEntries, const CShape& shape, int iLevel)
{
    CLinePlace place;
    place.m_iIndentation = m_iIndentation;
    place.m_iLevelsBelow = m_iCurrentDepth - iLevel;
    place.m_bListing = m_options.m_bListing;
    return LayOut(aEntries, shape, place);
}

}  // namespace Kite
