// One inspection of a value: the walk through its objects, shared by the
// files that format each kind. Only the console's own files include this.
#ifndef KITE_INSPECTION_H
#define KITE_INSPECTION_H

#include <string>
#include <v8.h>
#include <vector>

#include "console/Inspect.h"
#include "console/LineLayout.h"
#include "console/ValueReflection.h"

namespace Kite {

// Node's limit: lists show 100 elements.
const uint32_t MAX_ELEMENTS = 100;

// What an object shows besides its properties.
enum EObjectKind { KIND_PLAIN, KIND_ARRAY, KIND_TYPED, KIND_MAP, KIND_SET, KIND_ITERATOR, KIND_PROMISE, KIND_WEAK,
                   KIND_BUFFER };

// What FormatEntries learns of an object before its entries.
struct CObjectFacts {
    std::string m_strConstructor;
    std::string m_strTag;
    bool m_bNullPrototype = false;
    EObjectKind m_eKind = KIND_PLAIN;
    uint32_t m_uSize = 0;                   // elements or entries besides the properties
    std::vector<std::string> m_aShownKeys;  // own keys that the base text already shows
    bool m_bCause = false;                  // a hidden cause to show as [cause]
};

class CInspection {
public:
    CInspection(v8::Local<v8::Context> context, const CInspectOptions& options)
        : m_reader(context, options.m_bShowHidden), m_pIsolate(context->GetIsolate()), m_context(context),
          m_options(options)
    {
    }

    bool Format(v8::Local<v8::Value> value, int iLevel, std::string& strOut);

private:
    // The walk (Inspect.cpp).
    bool FormatObject(v8::Local<v8::Object> object, int iLevel, std::string& strOut);
    bool FormatProxy(v8::Local<v8::Proxy> proxy, int iLevel, std::string& strOut);
    bool FormatChild(v8::Local<v8::Value> value, int iLevel, std::string& strOut);
    bool FormatProperty(v8::Local<v8::Object> object, v8::Local<v8::Name> key, int iLevel, std::string& strOut);
    bool FormatProperties(v8::Local<v8::Object> object, v8::Local<v8::Array> keys, const CObjectFacts& facts,
                          int iLevel, std::vector<std::string>& aEntries);
    bool FormatElements(v8::Local<v8::Object> array, uint32_t uLength, int iLevel, CShape& shape,
                        std::vector<std::string>& aEntries);
    bool FormatSparseElements(v8::Local<v8::Object> array, uint32_t uLength, int iLevel, uint32_t& uIndex,
                              std::vector<std::string>& aEntries);
    bool FormatElement(v8::Local<v8::Object> array, uint32_t uIndex, int iLevel, std::vector<std::string>& aEntries,
                       bool& bNumber);
    bool FormatList(v8::Local<v8::Array> list, bool bPairs, const char* pszArrow, int iLevel, uint32_t uSize,
                    CShape& shape, std::vector<std::string>& aEntries);
    std::string KeyText(v8::Local<v8::Name> key, bool bHidden);
    std::string Reduce(std::vector<std::string>& aEntries, const CShape& shape, int iLevel);

    // Each kind (InspectKinds.cpp).
    bool FormatEntries(v8::Local<v8::Object> object, int iLevel, CShape& shape, std::vector<std::string>& aEntries);
    bool ReadFacts(v8::Local<v8::Object> object, CObjectFacts& facts, v8::Local<v8::Array>& keys);
    bool DescribeKind(v8::Local<v8::Object> object, CObjectFacts& facts, CShape& shape);
    bool DescribeCollection(v8::Local<v8::Object> object, CObjectFacts& facts, CShape& shape);
    bool DescribeBase(v8::Local<v8::Object> object, CObjectFacts& facts, CShape& shape);
    bool ShownByBaseAlone(v8::Local<v8::Array> keys, const CObjectFacts& facts, bool& bAlone);
    bool FormatKindEntries(v8::Local<v8::Object> object, const CObjectFacts& facts, int iLevel, CShape& shape,
                           std::vector<std::string>& aEntries);
    bool FormatTypedElements(v8::Local<v8::Object> object, uint32_t uSize, CShape& shape,
                             std::vector<std::string>& aEntries);
    bool FormatIterator(v8::Local<v8::Object> object, const std::string& strTag, int iLevel, CShape& shape,
                        std::vector<std::string>& aEntries);
    bool FormatPromise(v8::Local<v8::Promise> promise, int iLevel, std::vector<std::string>& aEntries);
    void FormatBuffer(v8::Local<v8::Object> buffer, std::vector<std::string>& aEntries);
    bool FunctionText(v8::Local<v8::Function> function, std::string& strOut);
    bool ErrorText(v8::Local<v8::Object> error, const std::string& strConstructor, std::string& strOut,
                   std::vector<std::string>& aShownKeys);
    std::string RegExpText(v8::Local<v8::RegExp> regexp);
    std::string BoxedText(v8::Local<v8::Object> object);
    std::string Prefix(const CObjectFacts& facts, const char* pszFallback, const std::string& strSize = std::string());
    bool BeyondDepth(int iLevel) const;

    CValueReader m_reader;
    v8::Isolate* m_pIsolate;
    v8::Local<v8::Context> m_context;
    CInspectOptions m_options;
    std::vector<v8::Local<v8::Object>> m_aSeen;        // the objects being formatted, outermost first
    std::vector<v8::Local<v8::Object>> m_aReferenced;  // [Circular *N] names m_aReferenced[N - 1]
    int m_iIndentation = 0;
    // The level of the object whose entries were formatted last.
    int m_iCurrentDepth = 0;
    std::size_t m_uTextMade = 0;  // characters of the objects laid out so far
};

}  // namespace Kite

#endif
