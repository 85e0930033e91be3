#include "AgentTest.h"

namespace TetherTest {

void CAgentTest::SetUp()
{
    CV8Test::SetUp();
    DeviceAPI::Cinecast::SetBackendFactory(m_players.Factory());
    Dlog::TakeCaptured();
    Dlog::StartCapture();
}

void CAgentTest::TearDown()
{
    Dlog::StopCapture();
    Dlog::TakeCaptured();
    DeviceAPI::Cinecast::SetBackendFactory(nullptr);
    CV8Test::TearDown();
}

std::unique_ptr<Tether::CPlayerAgent> CAgentTest::NewAgent(std::size_t* puAdapter)
{
    std::size_t uBefore = m_players.count();
    std::unique_ptr<Tether::CPlayerAgent> pAgent(new Tether::CPlayerAgent());
    EXPECT_EQ(m_players.count(), uBefore + 1) << "the agent made no adapter";
    if (puAdapter != nullptr)
        *puAdapter = uBefore;
    return pAgent;
}

Bridge::ScriptArray CAgentTest::Args(const std::string& strArrayLiteral)
{
    v8::Local<v8::Value> value = Run(strArrayLiteral);
    Bridge::ScriptArray args;
    if (value.IsEmpty() || !value->IsArray()) {
        ADD_FAILURE() << "not an array: " << strArrayLiteral;
        return args;
    }
    v8::Local<v8::Array> array = value.As<v8::Array>();
    for (uint32_t i = 0; i < array->Length(); ++i)
        args.set(static_cast<int>(i),
                 Bridge::ScriptObject(array->Get(Context(), i).ToLocalChecked()));
    return args;
}

std::string CAgentTest::Json(const Bridge::ScriptObject& result)
{
    if (result.getValue().IsEmpty())
        return "(empty)";
    SetGlobal("result", result.getValue());
    return Eval("JSON.stringify(result)");
}

}  // namespace TetherTest
