// "Shelf", the test plug-in's class made with each form of the class builder
// with typed members: it counts items by name.
#ifndef KITE_TEST_SHELF_H
#define KITE_TEST_SHELF_H

#include <Bridge/ClassBuilder.h>

#include <cstdint>
#include <map>
#include <string>

namespace KiteTest {

class CShelf {
public:
    // new Shelf({ name }): the name defaults to "shelf".
    explicit CShelf(const Bridge::ScriptArray& args);

    // add(count, item): the items held after adding.
    int Add(int iCount, const std::string& strItem);
    bool Has(const std::string& strItem) const { return m_items.count(strItem) != 0; }
    void Clear() { m_items.clear(); }
    // items(): [item, count, ...] in the items' order.
    Bridge::ScriptArray Items() const;
    // fail(kind): throws what ThrowKind names.
    void Fail(const std::string& strKind);
    int Size() const;

    const std::string& Name() const { return m_strName; }
    // An empty name is a RangeError.
    void SetName(const std::string& strName);
    // rename(options): the name from options.name when it is a text; a
    // getter there that throws is the script's own exception.
    std::string Rename(const Bridge::ScriptObject& options);
    Bridge::ScriptFunction OnSaved() const { return m_onSaved; }
    void SetOnSaved(const Bridge::ScriptFunction& onSaved) { m_onSaved = onSaved; }
    // save(): calls onsaved with the size and answers what it answers.
    Bridge::ScriptObject Save();

private:
    std::string m_strName;
    std::map<std::string, int> m_items;
    Bridge::ScriptFunction m_onSaved;
};

class CShelfBridge : public Bridge::ClassBridge<CShelf> {
public:
    CShelfBridge() : ClassBridge("Shelf") {}
    void mapScriptInterface(ScriptContext& context) override;
};

}  // namespace KiteTest

BRIDGE_NATIVE_CLASS("Shelf", KiteTest::CShelf);

#endif
