// Texts across V8's inspector, which takes and hands out Latin-1 or UTF-16
// views; kite's side is UTF-8. Shared by the served inspector and the
// coverage session.
#ifndef KITE_INSPECTOR_TEXT_H
#define KITE_INSPECTOR_TEXT_H

#include <Bridge/Converter.h>
#include <cstdint>
#include <glib.h>
#include <string>
#include <v8-inspector.h>
#include <vector>

namespace Kite {

// The inspector's context group: kite has one context.
const int INSPECTOR_CONTEXT_GROUP = 1;

inline v8_inspector::StringView ViewOf(const std::string& strAscii)
{
    return v8_inspector::StringView(reinterpret_cast<const uint8_t*>(strAscii.data()), strAscii.size());
}

inline v8_inspector::StringView ViewOf(const std::vector<uint16_t>& aUtf16)
{
    return v8_inspector::StringView(aUtf16.data(), aUtf16.size());
}

inline std::vector<uint16_t> Utf16Of(const std::string& strUtf8)
{
    glong lLength = 0;
    gunichar2* pText = g_utf8_to_utf16(strUtf8.data(), static_cast<glong>(strUtf8.size()), nullptr, &lLength, nullptr);
    std::vector<uint16_t> aText;
    if (pText != nullptr)
        aText.assign(pText, pText + lLength);
    g_free(pText);
    return aText;
}

inline std::string Utf8Of(const v8_inspector::StringView& view)
{
    return view.is8Bit() ? Bridge::TextOfLatin1(view.characters8(), view.length())
                         : Bridge::TextOfUtf16(view.characters16(), view.length());
}

}  // namespace Kite

#endif
