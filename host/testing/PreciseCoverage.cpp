#include "testing/PreciseCoverage.h"

#include <algorithm>
#include <glib.h>
#include <json/json.h>
#include <v8-inspector.h>

#include "inspector/InspectorText.h"
#include "runtime/ScriptFile.h"

namespace Kite {

namespace {

using v8_inspector::StringBuffer;
using v8_inspector::StringView;

// A script's name, a path or a file:// URL, as an absolute path.
std::string AbsolutePathOf(const std::string& strName)
{
    if (!g_str_has_prefix(strName.c_str(), "file://"))
        return AbsolutePath(strName);
    gchar* pszPath = g_filename_from_uri(strName.c_str(), nullptr, nullptr);
    std::string strAbsolute = pszPath != nullptr ? AbsolutePath(pszPath) : std::string();
    g_free(pszPath);
    return strAbsolute;
}

}  // namespace

// The inspector, a client that asks nothing of the host, and one session
// whose answers come back at once, in the call that asked.
// Libnode has no RTTI: this file is built without it (see host/CMakeLists.txt).
class CPreciseCoverage::CSession : public v8_inspector::V8InspectorClient,
                                    public v8_inspector::V8Inspector::Channel {
public:
    explicit CSession(v8::Local<v8::Context> context) : m_pIsolate(context->GetIsolate())
    {
        m_pInspector = v8_inspector::V8Inspector::create(m_pIsolate, this);
        std::string strName = "kite test";
        m_pInspector->contextCreated(v8_inspector::V8ContextInfo(context, INSPECTOR_CONTEXT_GROUP, ViewOf(strName)));
        m_pSession = m_pInspector->connect(INSPECTOR_CONTEXT_GROUP, this, StringView());
    }

    ~CSession() override
    {
        m_pSession.reset();
        m_pInspector.reset();
    }

    // The answer's "result", or false with the error's message.
    bool Call(const std::string& strMethod, const std::string& strParams, Json::Value& result, std::string& strError)
    {
        std::string strMessage =
            "{\"id\":" + std::to_string(++m_iLastId) + ",\"method\":\"" + strMethod + "\",\"params\":" + strParams + "}";
        m_strAnswer.clear();
        {
            v8::HandleScope scope(m_pIsolate);
            m_pSession->dispatchProtocolMessage(ViewOf(strMessage));
        }
        Json::Value answer;
        Json::CharReaderBuilder builder;
        std::unique_ptr<Json::CharReader> pReader(builder.newCharReader());
        std::string strParseError;
        if (!pReader->parse(m_strAnswer.data(), m_strAnswer.data() + m_strAnswer.size(), &answer, &strParseError) ||
            !answer.isObject()) {
            strError = strMethod + ": no answer from V8's inspector";
            return false;
        }
        if (answer.isMember("error")) {
            strError = strMethod + ": " + answer["error"].get("message", "").asString();
            return false;
        }
        result = answer["result"];
        return true;
    }

    void sendResponse(int, std::unique_ptr<StringBuffer> message) override
    {
        m_strAnswer = Utf8Of(message->string());
    }

    void sendNotification(std::unique_ptr<StringBuffer>) override {}
    void flushProtocolNotifications() override {}

private:
    v8::Isolate* m_pIsolate;
    std::unique_ptr<v8_inspector::V8Inspector> m_pInspector;
    std::unique_ptr<v8_inspector::V8InspectorSession> m_pSession;
    int m_iLastId = 0;
    std::string m_strAnswer;
};

bool CPreciseCoverage::Available()
{
    return true;
}

CPreciseCoverage::CPreciseCoverage() = default;

CPreciseCoverage::~CPreciseCoverage() = default;

bool CPreciseCoverage::Start(v8::Local<v8::Context> context, std::string& strError)
{
    m_pSession.reset(new CSession(context));
    Json::Value result;
    return m_pSession->Call("Profiler.enable", "{}", result, strError) &&
           m_pSession->Call("Profiler.startPreciseCoverage", "{\"callCount\":true,\"detailed\":true}", result,
                            strError);
}

bool CPreciseCoverage::Take(const std::vector<std::string>& aNames, std::vector<CScriptCoverage>& aScripts,
                            std::string& strError)
{
    Json::Value result;
    if (m_pSession == nullptr || !m_pSession->Call("Profiler.takePreciseCoverage", "{}", result, strError))
        return false;
    // Whether names are relative or absolute, paths or URLs.
    std::vector<std::string> aPaths;
    for (const std::string& strName : aNames)
        aPaths.push_back(AbsolutePathOf(strName));
    for (const Json::Value& script : result["result"]) {
        std::string strUrl = script["url"].asString();
        std::string strPath = strUrl.empty() ? std::string() : AbsolutePathOf(strUrl);
        if (strPath.empty() || std::find(aPaths.begin(), aPaths.end(), strPath) == aPaths.end())
            continue;
        CScriptCoverage coverage;
        coverage.m_strPath = strPath;
        for (const Json::Value& function : script["functions"]) {
            CFunctionCoverage functionCoverage;
            functionCoverage.m_strName = function["functionName"].asString();
            for (const Json::Value& range : function["ranges"]) {
                CCoverageRange rangeCoverage;
                rangeCoverage.m_llStart = range["startOffset"].asInt64();
                rangeCoverage.m_llEnd = range["endOffset"].asInt64();
                rangeCoverage.m_llCount = range["count"].asInt64();
                functionCoverage.m_aRanges.push_back(rangeCoverage);
            }
            if (!functionCoverage.m_aRanges.empty())
                coverage.m_aFunctions.push_back(functionCoverage);
        }
        aScripts.push_back(coverage);
    }
    return true;
}

}  // namespace Kite
