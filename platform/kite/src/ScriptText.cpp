#include "ScriptText.h"

namespace Bridge {

std::string TextOf(v8::Isolate* pIsolate, v8::Local<v8::String> text)
{
    std::string strOut;
    int iLength = text->Utf8Length(pIsolate);
    if (iLength <= 0)
        return strOut;
    strOut.resize(static_cast<std::size_t>(iLength));
    text->WriteUtf8(pIsolate, &strOut[0], iLength, nullptr,
                    v8::String::NO_NULL_TERMINATION | v8::String::REPLACE_INVALID_UTF8);
    return strOut;
}

}  // namespace Bridge
