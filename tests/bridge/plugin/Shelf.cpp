// "Shelf", made with each form of the class builder's typed members: it
// counts items by name.
#include <Bridge/ClassBuilder.h>

#include <map>
#include <stdexcept>

#include "Probe.h"

namespace KiteTest {

using Bridge::ScriptObject;

namespace {

class CShelf {
public:
    // new Shelf({ name }), "shelf" without one.
    explicit CShelf(const Bridge::ScriptArray& args) { args.get(0).tryGetString("name", m_strName); }

    // add(count, item): the items held after adding.
    int Add(int iCount, const std::string& strItem)
    {
        m_items[strItem] += iCount;
        return Size();
    }
    bool Has(const std::string& strItem) const { return m_items.count(strItem) != 0; }
    void Clear() { m_items.clear(); }
    // items(): [item, count, ...] in the items' order.
    Bridge::ScriptArray Items() const
    {
        Bridge::ScriptArray items;
        for (const auto& item : m_items) {
            items.set(items.Length(), ScriptObject(item.first));
            items.set(items.Length(), ScriptObject(item.second));
        }
        return items;
    }
    void Fail(const std::string& strKind) { ThrowKind(strKind); }
    // The list form beside the typed ones, by member pointer.
    ScriptObject Arguments(const Bridge::ScriptArray& args) { return ScriptObject(args.Length()); }
    int Size() const
    {
        int iSize = 0;
        for (const auto& item : m_items)
            iSize += item.second;
        return iSize;
    }
    const std::string& Name() const { return m_strName; }
    void SetName(const std::string& strName)
    {
        if (strName.empty())
            throw Bridge::ScriptError(Bridge::ScriptError::RANGE_ERROR, "a shelf's name is not empty");
        m_strName = strName;
    }
    // rename(options): the name from options.name when it is a text.
    std::string Rename(const ScriptObject& options)
    {
        options.tryGetString("name", m_strName);
        return m_strName;
    }
    Bridge::ScriptFunction OnSaved() const { return m_onSaved; }
    void SetOnSaved(const Bridge::ScriptFunction& onSaved) { m_onSaved = onSaved; }
    // save(): what onsaved answers, called with the size.
    ScriptObject Save()
    {
        Bridge::ScriptArray args;
        args.set(0, ScriptObject(Size()));
        return m_onSaved.invoke(args);
    }

private:
    std::string m_strName = "shelf";
    std::map<std::string, int> m_items;
    Bridge::ScriptFunction m_onSaved;
};

}  // namespace

}  // namespace KiteTest

BRIDGE_NATIVE_CLASS("Shelf", KiteTest::CShelf);

namespace KiteTest {

namespace {

// A function taking the native first: the share of the items that count is.
double Share(CShelf* pShelf, double dCount)
{
    return pShelf->Size() == 0 ? 0 : dCount / pShelf->Size();
}
// A getter that throws what the shelf's name names.
bool Broken(CShelf* pShelf)
{
    ThrowKind(pShelf->Name());
    return false;
}

// Static members.
std::string Pack(const std::string& strText, int iTimes)
{
    if (iTimes < 0)
        throw std::runtime_error("times is negative");
    std::string strOut;
    for (int i = 0; i < iTimes; ++i)
        strOut += strText;
    return strOut;
}
ScriptObject Echo(const ScriptObject& value) { return value; }
std::int64_t Twice(std::int64_t llValue) { return llValue * 2; }
bool Not(bool bValue) { return !bValue; }

class CShelfBridge : public Bridge::ClassBridge<CShelf> {
public:
    CShelfBridge() : ClassBridge("Shelf") {}
    void contextReady() override { KiteTest::NoteInstalled(this); }
    void mapScriptInterface(ScriptContext& context) override
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
            .method<&CShelf::Arguments>("arguments")
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
            .staticMethod<&ThrowKind>("fail")
            .staticValue("LIMIT", 100)
            .staticValue("EXACT", true);
    }
};

}  // namespace

Bridge::ScriptBridge* NewShelfBridge()
{
    return new CShelfBridge;
}

}  // namespace KiteTest
