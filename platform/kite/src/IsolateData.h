// What the bridge library keeps per isolate.
//
// Kept in the isolate's last embedder data slot, so a new isolate (even one
// at a freed isolate's address) starts with nothing.
#ifndef BRIDGE_ISOLATE_DATA_H
#define BRIDGE_ISOLATE_DATA_H

#include <string>
#include <unordered_map>
#include <v8.h>

#include "ObjectMakers.h"

namespace Bridge {

struct CIsolateData {
    // Property names; see ScriptKeys.h.
    std::unordered_map<std::string, v8::Eternal<v8::String>> m_mapKeys;
    CObjectMakers m_makers;
};

// The isolate's data, made on first use.
CIsolateData& IsolateDataOf(v8::Isolate* pIsolate);

// Drops the isolate's data and the script values it holds; the engine calls
// it when it detaches, while the isolate is alive. Safe for an isolate that
// has none.
void ReleaseIsolateData(v8::Isolate* pIsolate);

}  // namespace Bridge

#endif
