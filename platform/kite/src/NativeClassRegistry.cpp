#include "Bridge/NativeClass.h"

#include <map>
#include <string>

namespace Bridge {

namespace {
std::map<std::string, const void*>& Tags()
{
    // Filled by plug-ins' static initialisers, so it must exist before them.
    static std::map<std::string, const void*>* s_pTags = new std::map<std::string, const void*>();
    return *s_pTags;
}
}  // namespace

void NativeClassRegistry::Register(const char* pszScriptClassName, const void* pTag)
{
    Tags()[pszScriptClassName] = pTag;
}

const void* NativeClassRegistry::Lookup(const char* pszScriptClassName)
{
    auto it = Tags().find(pszScriptClassName);
    return it == Tags().end() ? nullptr : it->second;
}

}  // namespace Bridge
