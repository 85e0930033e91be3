// Where command results are made: in the context the command runs in, or
// the engine's from the main loop, also when agents come and go.
#include "AgentTest.h"

namespace TetherTest {
namespace {

class CCommandResultTest : public CAgentTest {
protected:
    // The Object.prototype of a context. Needs a handle scope.
    v8::Local<v8::Value> ObjectPrototype(v8::Local<v8::Context> context)
    {
        v8::Context::Scope contextScope(context);
        return v8::Object::New(Isolate())->GetPrototype();
    }

    v8::Local<v8::Value> PrototypeOf(const Bridge::ScriptObject& result)
    {
        v8::Local<v8::Value> value = result.getValue();
        EXPECT_TRUE(!value.IsEmpty() && value->IsObject());
        if (value.IsEmpty() || !value->IsObject())
            return v8::Local<v8::Value>();
        return value.As<v8::Object>()->GetPrototype();
    }
};

// Each round a new agent, after the last one went, and a context of its own,
// like a new page, besides the test's. From the main loop, with nothing
// entered but the isolate, results belong to the engine's context.
TEST_F(CCommandResultTest, ResultsBelongToTheContextOfTheCallOrTheEngines)
{
    for (int iRound = 0; iRound < 3; ++iRound) {
        std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(nullptr);
        Bridge::ScriptArray noArgs;
        Bridge::ScriptObject command = pAgent->Pause(noArgs);
        Bridge::ScriptObject fromLoop = pAgent->GetDuration(noArgs);
        CScope scope(*this);
        EXPECT_TRUE(PrototypeOf(command) == ObjectPrototype(Context()));
        EXPECT_TRUE(PrototypeOf(fromLoop) == ObjectPrototype(Context()));
        EXPECT_EQ(Json(command), "{\"return_ecode\":0}");
        for (v8::Local<v8::Context> context : {Context(), v8::Context::New(Isolate())}) {
            v8::Context::Scope contextScope(context);
            v8::Local<v8::Value> prototype = ObjectPrototype(context);
            EXPECT_TRUE(PrototypeOf(pAgent->Pause(noArgs)) == prototype);
            Bridge::ScriptObject query = pAgent->GetDuration(noArgs);
            EXPECT_TRUE(PrototypeOf(query) == prototype);
            EXPECT_EQ(Json(query), "{\"return_ecode\":0,\"return_type\":1,\"return_data\":0}");
        }
    }
}

}  // namespace
}  // namespace TetherTest
