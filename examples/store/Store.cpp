// The script class "Store" of docs/plugins.md: texts by key, saved by a
// thread of its own, which reports each save to the object's `onsaved`.
//   const store = new Store({ name: 'notes', limit: 100 });
//   store.set('a', 'x');   store.get('a');   store.remove('a');   store.keys()
//   store.onsaved = (text) => { ... };   store.save();   store.size   store.name
#include <Bridge/ClassBuilder.h>
#include <Bridge/ThreadSafeCall.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

namespace Example {

class CStore {
public:
    // new Store({ name, limit }): both optional.
    explicit CStore(const Bridge::ScriptArray& args)
    {
        const Bridge::ScriptObject options = args.get(0);
        options.tryGetString("name", m_strName);
        double dLimit = m_uLimit;
        if (options.tryGetNumber("limit", dLimit) && !(dLimit >= 1 && dLimit <= 1e6))
            throw Bridge::ScriptError(Bridge::ScriptError::RANGE_ERROR, "Store: limit must be from 1 to 1000000");
        m_uLimit = static_cast<std::size_t>(dLimit);
        // Saving holds the object and the run only while a save is under way.
        m_saved = Bridge::ThreadSafeCall(this, Bridge::ScriptFunction());
        m_saved.unref();
    }
    // The call closes before this runs, so a save still under way posts nothing.
    ~CStore()
    {
        if (m_worker.joinable())
            m_worker.join();
    }

    // set(key, value): the count of entries after it.
    int Set(const std::string& strKey, const std::string& strValue)
    {
        if (m_entries.size() == m_uLimit && m_entries.count(strKey) == 0)
            throw Bridge::ScriptError(Bridge::ScriptError::RANGE_ERROR, "Store.set: " + m_strName + " is full");
        m_entries[strKey] = strValue;
        return Size();
    }
    // get(key): its value, or null.
    Bridge::ScriptObject Get(const std::string& strKey) const
    {
        const auto entry = m_entries.find(strKey);
        return entry == m_entries.end() ? Bridge::ScriptObject::Null() : Bridge::ScriptObject(entry->second);
    }
    bool Remove(const std::string& strKey) { return m_entries.erase(strKey) != 0; }
    // keys(): an array, in the keys' order.
    Bridge::ScriptArray Keys() const
    {
        Bridge::ScriptArray keys;
        for (const auto& entry : m_entries)
            keys.set(keys.Length(), Bridge::ScriptObject(entry.first));
        return keys;
    }

    int Size() const { return static_cast<int>(m_entries.size()); }
    const std::string& Name() const { return m_strName; }

    Bridge::ScriptFunction OnSaved() const { return m_onSaved; }
    void SetOnSaved(const Bridge::ScriptFunction& onSaved) { m_onSaved = onSaved; }

    // save(): the worker writes the entries out as "key=value" lines, and
    // onsaved receives the text on the main loop.
    void Save()
    {
        if (m_worker.joinable())
            m_worker.join();
        if (m_iSaving++ == 0)
            m_saved.ref();
        m_worker = std::thread(&CStore::Write, this, m_entries);
    }

private:
    // The worker's thread: it touches no script value and no member but the call.
    void Write(std::map<std::string, std::string> entries)
    {
        std::string strText;
        for (const auto& entry : entries)
            strText += entry.first + "=" + entry.second + "\n";
        m_saved.post([this, strText](const Bridge::ScriptFunction&) { Saved(strText); });
    }
    // On the main loop, with the object alive.
    void Saved(const std::string& strText)
    {
        if (--m_iSaving == 0)
            m_saved.unref();
        m_onSaved.invoke(strText);
    }

    std::string m_strName = "store";
    std::size_t m_uLimit = 100;
    std::map<std::string, std::string> m_entries;
    Bridge::ScriptFunction m_onSaved;
    Bridge::ThreadSafeCall m_saved;
    int m_iSaving = 0;  // saves whose text has not reached the main loop
    std::thread m_worker;
};

}  // namespace Example

// Declared before anything binds the type: the routers refuse receivers
// whose native is no CStore.
BRIDGE_NATIVE_CLASS("Store", Example::CStore);

namespace Example {

class CStoreBridge : public Bridge::ClassBridge<CStore> {
public:
    CStoreBridge() : ClassBridge("Store") {}

    void mapScriptInterface(ScriptContext& context) override
    {
        Bridge::ClassBuilder<CStore>(*this, context)
            .method<&CStore::Set>("set")
            .method<&CStore::Get>("get")
            .method<&CStore::Remove>("remove")
            .method<&CStore::Keys>("keys")
            .method<&CStore::Save>("save")
            .getter<&CStore::Size>("size")
            .getter<&CStore::Name>("name")
            .property<&CStore::OnSaved, &CStore::SetOnSaved>("onsaved")
            .staticValue("LIMIT", 1000000);
    }
};

}  // namespace Example

// kite deletes no bridge: this one lives until the process ends, and
// answers every call, in every engine of the process.
extern "C" __attribute__((visibility("default"))) std::vector<Bridge::ScriptBridge*> loadBridges()
{
    static Example::CStoreBridge* s_pBridge = new Example::CStoreBridge;
    return {s_pBridge};
}
