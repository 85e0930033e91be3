#include "Shelf.h"

#include <stdexcept>

#include "Probe.h"

namespace KiteTest {

using Bridge::ScriptObject;

CShelf::CShelf(const Bridge::ScriptArray& args) : m_strName("shelf")
{
    args.get(0).tryGetString("name", m_strName);
}

int CShelf::Add(int iCount, const std::string& strItem)
{
    m_items[strItem] += iCount;
    return Size();
}

Bridge::ScriptArray CShelf::Items() const
{
    Bridge::ScriptArray items;
    for (const auto& item : m_items) {
        items.set(items.Length(), ScriptObject(item.first));
        items.set(items.Length(), ScriptObject(item.second));
    }
    return items;
}

void CShelf::Fail(const std::string& strKind)
{
    ThrowKind(strKind);
}

int CShelf::Size() const
{
    int iSize = 0;
    for (const auto& item : m_items)
        iSize += item.second;
    return iSize;
}

void CShelf::SetName(const std::string& strName)
{
    if (strName.empty())
        throw Bridge::ScriptError(Bridge::ScriptError::RANGE_ERROR, "a shelf's name is not empty");
    m_strName = strName;
}

std::string CShelf::Rename(const ScriptObject& options)
{
    options.tryGetString("name", m_strName);
    return m_strName;
}

ScriptObject CShelf::Save()
{
    Bridge::ScriptArray args;
    args.set(0, ScriptObject(Size()));
    return m_onSaved.invoke(args);
}

namespace {

// A function taking the native first: the share of the items that count is.
double Share(CShelf* pShelf, double dCount)
{
    return pShelf->Size() == 0 ? 0 : dCount / pShelf->Size();
}

// The list form beside the typed ones: how many arguments it was given.
ScriptObject Arguments(CShelf*, const Bridge::ScriptArray& args)
{
    return ScriptObject(args.Length());
}

// Static members: pack(text, times) repeats the text; echo answers any
// value as it is; twice doubles a 64-bit integer; not negates a boolean.
std::string Pack(const std::string& strText, int iTimes)
{
    if (iTimes < 0)
        throw std::runtime_error("times is negative");
    std::string strOut;
    for (int i = 0; i < iTimes; ++i)
        strOut += strText;
    return strOut;
}
ScriptObject Echo(const ScriptObject& value)
{
    return value;
}
std::int64_t Twice(std::int64_t llValue)
{
    return llValue * 2;
}
bool Not(bool bValue)
{
    return !bValue;
}
void Throw(const std::string& strKind)
{
    ThrowKind(strKind);
}

// A getter that throws what the shelf's name names.
bool Broken(CShelf* pShelf)
{
    ThrowKind(pShelf->Name());
    return false;
}

}  // namespace

void CShelfBridge::mapScriptInterface(ScriptContext& context)
{
    Bridge::ClassBuilder<CShelf>(*this, context)
        .method<&CShelf::Add>("add")
        .method<&CShelf::Has>("has")
        .method<&CShelf::Clear>("clear")
        .method<&CShelf::Items>("items")
        .method<&CShelf::Fail>("fail")
        .method<&CShelf::Save>("save")
        .method<&CShelf::Rename>("rename")
        .method<&Share>("share")
        .method<&Arguments>("arguments")
        .getter<&CShelf::Size>("size")
        .getter<&Broken>("broken")
        .property<&CShelf::Name, &CShelf::SetName>("name")
        .property<&CShelf::OnSaved, &CShelf::SetOnSaved>("onsaved")
        .value("VERSION", "2.1")
        .value("SLOTS", 8)
        .staticMethod<&Pack>("pack")
        .staticMethod<&Echo>("echo")
        .staticMethod<&Twice>("twice")
        .staticMethod<&Not>("not")
        .staticMethod<&Throw>("fail")
        .staticValue("LIMIT", 100)
        .staticValue("EXACT", true);
}

}  // namespace KiteTest
