// One JSON document with typed access to the members of its top-level
// object. Exported for code that loads the plug-in; the plug-in itself does
// not use it.
#ifndef TETHER_TETHER_JSON_H
#define TETHER_TETHER_JSON_H

#include <json/json.h>

#include <string>
#include <vector>

class __attribute__((visibility("default"))) CTetherJson {
public:
    // A valid document whose root is null until the first Set.
    CTetherJson();
    // Valid only when the text parses and its root is an object.
    explicit CTetherJson(std::string strJson);
    ~CTetherJson();

    // Empties the root; the root keeps its type.
    void Clear();

    // Store one member, creating or replacing it. The vector overload appends
    // each string to the member's array instead.
    bool Set(std::string strKey, bool bValue);
    bool Set(std::string strKey, int iValue);
    bool Set(std::string strKey, unsigned int uValue);
    bool Set(std::string strKey, long long llValue);  // stored as a double
    bool Set(std::string strKey, unsigned long long ullValue);  // stored as a double
    bool Set(std::string strKey, double dValue);
    bool Set(std::string strKey, std::string strValue);
    bool Set(std::string strKey, const char* pszValue);  // null stores ""
    bool Set(std::string strKey, std::vector<std::string> vecValue);

    // Read one member when it exists and has a fitting type; otherwise the
    // target is left alone. Vector targets are appended to.
    bool Get(std::string strKey, bool& bValue);
    bool Get(std::string strKey, int& iValue);
    bool Get(std::string strKey, double& dValue);
    bool Get(std::string strKey, std::string& strValue);
    bool Get(std::string strKey, long long& llValue);  // any number
    bool Get(std::string strKey, unsigned int& uValue);
    bool Get(std::string strKey, unsigned long long& ullValue);  // only what fits unsigned int
    bool Get(std::string strKey, std::vector<int>& vecValue);
    bool Get(std::string strKey, std::vector<std::string>& vecValue);

    bool Has(std::string strKey);
    bool IsInt(std::string strKey);
    bool IsString(std::string strKey);
    void Remove(std::string strKey);

    // Appends the member names to vecKeys.
    bool GetKeys(std::vector<std::string>& vecKeys);
    // Compact JSON text; "" for an invalid document, "error" on failure.
    std::string ToString();

private:
    Json::Value jsonvalue;
    bool bValid;  // fixed by the constructors
};

#endif
