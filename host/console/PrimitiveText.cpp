#include "console/PrimitiveText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "console/ScriptValues.h"
#include "console/TextWidth.h"

namespace Kite {

namespace {

// Node's limit for strings inside values.
const int MAX_STRING = 10000;

// The first of ' " ` that the text does not hold; ' when it holds all three.
char QuoteFor(const std::vector<uint16_t>& aUnits)
{
    auto holds = [&](uint16_t uQuote) { return std::find(aUnits.begin(), aUnits.end(), uQuote) != aUnits.end(); };
    return !holds('\'') ? '\'' : !holds('"') ? '"' : !holds('`') ? '`' : '\'';
}

// The escape of a control character, or null when the unit prints as it is.
const char* ShortEscape(uint32_t uUnit)
{
    switch (uUnit) {
    case '\n': return "\\n";
    case '\t': return "\\t";
    case '\r': return "\\r";
    case '\b': return "\\b";
    case '\f': return "\\f";
    default: return nullptr;
    }
}

bool IsHighSurrogate(uint32_t uUnit) { return uUnit >= 0xD800 && uUnit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t uUnit) { return uUnit >= 0xDC00 && uUnit <= 0xDFFF; }

}  // namespace

std::string QuotedText(v8::Isolate* pIsolate, v8::Local<v8::String> text)
{
    int iLength = text->Length();
    int iShown = std::min(iLength, MAX_STRING);
    std::vector<uint16_t> aUnits(static_cast<std::size_t>(iShown));
    if (iShown > 0)
        text->Write(pIsolate, aUnits.data(), 0, iShown, v8::String::NO_NULL_TERMINATION);
    char cQuote = QuoteFor(aUnits);
    std::string strOut(1, cQuote);
    for (int i = 0; i < iShown; ++i) {
        uint32_t uUnit = aUnits[i];
        char szEscape[8];
        if (uUnit == static_cast<uint32_t>(cQuote) || uUnit == '\\') {
            strOut += '\\';
            strOut += static_cast<char>(uUnit);
        } else if (ShortEscape(uUnit) != nullptr) {
            strOut += ShortEscape(uUnit);
        } else if (uUnit < 0x20 || uUnit == 0x7F) {
            std::snprintf(szEscape, sizeof szEscape, "\\x%02X", uUnit);
            strOut += szEscape;
        } else if (IsHighSurrogate(uUnit) && i + 1 < iShown && IsLowSurrogate(aUnits[i + 1])) {
            strOut += Bridge::TextOfUtf16(&aUnits[i], 2);
            ++i;
        } else if (IsHighSurrogate(uUnit) || IsLowSurrogate(uUnit)) {
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

std::string PrimitiveText(v8::Local<v8::Context> context, v8::Local<v8::Value> value)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    if (value->IsString())
        return QuotedText(pIsolate, value.As<v8::String>());
    if (value->IsNumber())
        return NumberText(pIsolate, value.As<v8::Number>()->Value());
    if (value->IsBigInt())
        return TextOfValue(pIsolate, value.As<v8::BigInt>()->ToString(context).ToLocalChecked()) + "n";
    if (value->IsSymbol()) {
        std::string strText;
        DisplayText(pIsolate, value, strText);
        return strText;
    }
    if (value->IsUndefined())
        return "undefined";
    if (value->IsNull())
        return "null";
    return value->IsTrue() ? "true" : "false";
}

}  // namespace Kite
