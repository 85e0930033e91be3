// The plug-in's entry, as an engine calls it, once per engine of the process.
#include <Tether.h>
#include <algorithm>
#include <gtest/gtest.h>

namespace TetherTest {
namespace {

// Each call makes one more bridge of the class and answers every bridge made
// so far, the earlier ones first and unchanged.
TEST(EntryTest, EachCallAnswersEveryBridgeMadeSoFar)
{
    const std::size_t aSizes[] = {1, 2, 3};  // after each call
    std::vector<Bridge::ScriptBridge*> aBefore;
    for (std::size_t uSize : aSizes) {
        std::vector<Bridge::ScriptBridge*> aBridges = loadBridges();
        ASSERT_EQ(uSize, aBridges.size());
        EXPECT_TRUE(std::equal(aBefore.begin(), aBefore.end(), aBridges.begin())) << "call " << uSize;
        EXPECT_EQ(aBridges.end() - 1, std::find(aBridges.begin(), aBridges.end(), aBridges.back()))
            << "a new bridge, call " << uSize;
        EXPECT_STREQ("Tether", aBridges.back()->getScriptClassName());
        aBefore = aBridges;
    }
    // The plug-in deletes none; this engine, the process's last, may.
    for (Bridge::ScriptBridge* pBridge : aBefore)
        delete pBridge;
}

}  // namespace
}  // namespace TetherTest
