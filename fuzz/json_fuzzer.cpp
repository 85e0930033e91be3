// libFuzzer target: any text through the parsing constructor, then every
// operation of the document on the keys it holds and on a few fixed ones.
#include <DlogSink.h>
#include <TetherJson.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr size_t kMaxKeys = 16;
// What the writes store of the input: enough for every kind of byte to go
// through a round trip, without copying kilobytes into every member.
constexpr size_t kMaxStoredText = 64;

void ReadEverything(CTetherJson& json, const std::string& strKey)
{
    json.Has(strKey);
    json.IsInt(strKey);
    json.IsString(strKey);
    bool bValue = false;
    int iValue = 0;
    double dValue = 0;
    std::string strValue;
    long long llValue = 0;
    unsigned int uValue = 0;
    unsigned long long ullValue = 0;
    std::vector<int> vecInts;
    std::vector<std::string> vecStrings;
    json.Get(strKey, bValue);
    json.Get(strKey, iValue);
    json.Get(strKey, dValue);
    json.Get(strKey, strValue);
    json.Get(strKey, llValue);
    json.Get(strKey, uValue);
    json.Get(strKey, ullValue);
    json.Get(strKey, vecInts);
    json.Get(strKey, vecStrings);
}

void WriteEverything(CTetherJson& json, const std::string& strKey, const std::string& strText)
{
    // The vector Set goes first, while the member may still be a scalar.
    json.Set(strKey, std::vector<std::string>{strText, strKey});
    json.Set(strKey + "b", true);
    json.Set(strKey + "i", -7);
    json.Set(strKey + "u", 7u);
    json.Set(strKey + "ll", -(1LL << 60));
    json.Set(strKey + "ull", ~0ULL);
    json.Set(strKey + "d", 0.1);
    json.Set(strKey + "s", strText);
    json.Set(strKey + "c", static_cast<const char*>(nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // With nobody listening the log service formats nothing, which makes a
    // run several times faster. TETHER_FUZZ_LOG=1 formats and writes every
    // line (to /dev/null), so the logging of hostile text is fuzzed too.
    const char* pszLog = std::getenv("TETHER_FUZZ_LOG");
    if (pszLog != nullptr && std::string(pszLog) == "1")
        Dlog::SetDestination(std::fopen("/dev/null", "w"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uSize)
{
    const std::string strText(reinterpret_cast<const char*>(pData), uSize);
    CTetherJson json(strText);

    std::vector<std::string> vecKeys{"", "a", std::string("a\0b", 3)};
    const bool bValid = json.GetKeys(vecKeys);
    if (vecKeys.size() > kMaxKeys)
        vecKeys.resize(kMaxKeys);

    for (const std::string& strKey : vecKeys)
        ReadEverything(json, strKey);
    const std::string strStored = strText.substr(0, kMaxStoredText);
    for (const std::string& strKey : vecKeys)
        WriteEverything(json, strKey, strStored);
    for (const std::string& strKey : vecKeys)
        ReadEverything(json, strKey);

    // What a valid document writes must read back as a valid document.
    const std::string strOut = json.ToString();
    if (bValid) {
        CTetherJson again(strOut);
        if (again.ToString().empty())
            __builtin_trap();
    } else if (!strOut.empty()) {
        __builtin_trap();
    }

    json.Remove(vecKeys[1]);
    json.Remove(vecKeys.back());
    json.Clear();
    json.ToString();
    return 0;
}
