// kite's plug-in loading, over several engines of one process, with the test
// plug-in, whose loadBridges answers every bridge it has made, as the TV's
// plug-ins do.
#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

#include "Probe.h"
#include "V8TestEnvironment.h"
#include "plugins/PluginSet.h"

namespace {

// Each engine's loads hand over the earlier engines' bridges again: kite must
// not have deleted them, every bridge of the list must still work, and each
// class is installed once, from the first bridge of its name.
TEST(PluginSetTest, BridgesOutliveEveryEngineAndTheFirstOfEachNameIsInstalled)
{
    const struct {
        const char* pszEngine;
        int iLoads;  // of the plug-in, in this engine
        // Each bridge of the plug-in's list after the loads: its class name,
        // then "+" when it is the one installed in this engine's context.
        const char* pszBridges;
    } aEngines[] = {
        {"first engine", 1, "Probe+ Foreign+ Shelf+"},
        {"second engine", 1, "Probe+ Foreign+ Shelf+ Probe Foreign Shelf"},
        {"third engine, the plug-in loaded twice", 2,
         "Probe+ Foreign+ Shelf+ Probe Foreign Shelf Probe Foreign Shelf Probe Foreign Shelf"},
    };
    const std::size_t uListBefore = KiteTest::MadeBridges().size();
    const int iDestroyedBefore = KiteTest::g_iBridgesDestroyed;
    for (const auto& engine : aEngines) {
        std::string strBridges, strAnswer, strError;
        {
            const std::size_t uInstalledBefore = KiteTest::InstalledBridges().size();
            TestSupport::CFreshIsolate fresh;
            v8::Isolate* pIsolate = fresh.Isolate();
            v8::Local<v8::Context> context = fresh.Context();
            // As in kite: the set goes after the detach.
            Kite::CPluginSet plugins;
            for (int i = 0; i < engine.iLoads; ++i)
                ASSERT_TRUE(plugins.Load(KITE_TEST_PLUGIN, strError)) << engine.pszEngine << ": " << strError;
            const std::vector<Bridge::ScriptBridge*> aInstalled(
                KiteTest::InstalledBridges().begin() + uInstalledBefore, KiteTest::InstalledBridges().end());
            for (auto it = KiteTest::MadeBridges().begin() + uListBefore; it != KiteTest::MadeBridges().end(); ++it)
                strBridges += std::string(strBridges.empty() ? "" : " ") + (*it)->getScriptClassName() +
                              (std::count(aInstalled.begin(), aInstalled.end(), *it) == 1 ? "+" : "");
            v8::Local<v8::Value> result =
                v8::Script::Compile(context, Bridge::StringToV8("new Probe().argCount(1, 2) + '|' + new Foreign().marker()"))
                    .ToLocalChecked()
                    ->Run(context)
                    .ToLocalChecked();
            strAnswer = *v8::String::Utf8Value(pIsolate, result);
            Bridge::Engine::Detach();
        }
        EXPECT_EQ(engine.pszBridges, strBridges) << engine.pszEngine;
        EXPECT_EQ("2|7", strAnswer) << engine.pszEngine;
        ASSERT_EQ(iDestroyedBefore, KiteTest::g_iBridgesDestroyed) << "after the " << engine.pszEngine;
    }
}

}  // namespace
