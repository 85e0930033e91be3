#include "Bridge/ScriptText.h"

#include "Bridge/ScriptError.h"
#include "Bridge/V8Compat.h"

namespace Bridge {

namespace {

void AppendUtf8(std::string& strOut, std::uint32_t uCode)
{
    if (uCode < 0x80) {
        strOut += static_cast<char>(uCode);
    } else if (uCode < 0x800) {
        strOut += static_cast<char>(0xC0 | (uCode >> 6));
        strOut += static_cast<char>(0x80 | (uCode & 0x3F));
    } else if (uCode < 0x10000) {
        strOut += static_cast<char>(0xE0 | (uCode >> 12));
        strOut += static_cast<char>(0x80 | ((uCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (uCode & 0x3F));
    } else {
        strOut += static_cast<char>(0xF0 | (uCode >> 18));
        strOut += static_cast<char>(0x80 | ((uCode >> 12) & 0x3F));
        strOut += static_cast<char>(0x80 | ((uCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (uCode & 0x3F));
    }
}

}  // namespace

namespace {

[[noreturn]] void ThrowTooLong()
{
    throw ScriptError(ScriptError::RANGE_ERROR, "Invalid string length: a text over the script engine's limit of " +
                                                    std::to_string(Compat::kMaxStringLength) + " characters");
}

v8::Local<v8::String> Checked(Compat::MaybeLocal<v8::String> text)
{
    v8::Local<v8::String> out;
    if (!text.ToLocal(&out))
        ThrowTooLong();
    return out;
}

}  // namespace

v8::Local<v8::String> NewText(v8::Isolate* pIsolate, const char* pText, std::size_t uLength)
{
    const std::size_t uMax = static_cast<std::size_t>(Compat::kMaxStringLength);
    // Plain ASCII (an event's number, most texts) needs no UTF-8 decoding.
    unsigned char uBits = 0;
    for (std::size_t i = 0; i < uLength; ++i)
        uBits |= static_cast<unsigned char>(pText[i]);
    if (uBits < 0x80) {
        if (uLength > uMax)
            ThrowTooLong();
        return Checked(Compat::AsMaybe(v8::String::NewFromOneByte(
            pIsolate, reinterpret_cast<const std::uint8_t*>(pText), Compat::kNormalString, static_cast<int>(uLength))));
    }
    // V8 takes at most the limit in bytes at once, though UTF-8 needs up to
    // three bytes a character: a longer text is made in pieces, each cut
    // between two characters.
    v8::Local<v8::String> text;
    std::size_t uStart = 0;
    do {
        std::size_t uEnd = uLength - uStart > uMax ? uStart + uMax : uLength;
        while (uEnd < uLength && uEnd > uStart && (static_cast<unsigned char>(pText[uEnd]) & 0xC0) == 0x80)
            --uEnd;
        v8::Local<v8::String> piece = Checked(Compat::AsMaybe(v8::String::NewFromUtf8(
            pIsolate, pText + uStart, Compat::kNormalString, static_cast<int>(uEnd - uStart))));
        if (text.IsEmpty()) {
            text = piece;
        } else {
            if (static_cast<std::size_t>(text->Length()) + static_cast<std::size_t>(piece->Length()) > uMax)
                ThrowTooLong();
            text = Compat::Concat(pIsolate, text, piece);
        }
        uStart = uEnd;
    } while (uStart < uLength);
    return text;
}

std::string TextOf(v8::Isolate* pIsolate, v8::Local<v8::String> text)
{
    std::string strOut;
    int iLength = Compat::Utf8Length(pIsolate, text);
    if (iLength <= 0)
        return strOut;
    strOut.resize(static_cast<std::size_t>(iLength));
    Compat::WriteUtf8(pIsolate, text, &strOut[0], iLength,
                      v8::String::NO_NULL_TERMINATION | v8::String::REPLACE_INVALID_UTF8);
    return strOut;
}

std::string TextOfLatin1(const std::uint8_t* pText, std::size_t uLength)
{
    std::string strOut;
    strOut.reserve(uLength);
    for (std::size_t i = 0; i < uLength; ++i)
        AppendUtf8(strOut, pText[i]);
    return strOut;
}

std::string TextOfUtf16(const std::uint16_t* pText, std::size_t uLength)
{
    std::string strOut;
    strOut.reserve(uLength);
    for (std::size_t i = 0; i < uLength; ++i) {
        std::uint32_t uCode = pText[i];
        if (uCode >= 0xD800 && uCode <= 0xDBFF && i + 1 < uLength && pText[i + 1] >= 0xDC00 &&
            pText[i + 1] <= 0xDFFF) {
            uCode = 0x10000 + ((uCode - 0xD800) << 10) + (pText[i + 1] - 0xDC00);
            ++i;
        } else if (uCode >= 0xD800 && uCode <= 0xDFFF) {
            uCode = 0xFFFD;
        }
        AppendUtf8(strOut, uCode);
    }
    return strOut;
}

}  // namespace Bridge
