#include "CommandResult.h"

#include <string>

namespace Tether {

namespace {

// The names of a result's properties, made on first use rather than on
// every command: a name's text costs as much as storing its value.
struct CResultNames {
    const std::string m_strEcode{"return_ecode"};
    const std::string m_strType{"return_type"};
    const std::string m_strData{"return_data"};
};

const CResultNames& ResultNames()
{
    static const CResultNames s_names;
    return s_names;
}

}  // namespace

Bridge::ScriptObject MakeCommandResult(int iErrorCode)
{
    // A fresh object every time: scripts may change what they were given.
    Bridge::ScriptObject result;
    result.set(ResultNames().m_strEcode, Bridge::ScriptObject(iErrorCode));
    return result;
}

Bridge::ScriptObject MakeQueryResult(int iValue)
{
    const CResultNames& names = ResultNames();
    Bridge::ScriptObject result;
    result.set(names.m_strEcode, Bridge::ScriptObject(COMMAND_SUCCESS));
    result.set(names.m_strType, Bridge::ScriptObject(RETURN_TYPE_INT));
    result.set(names.m_strData, Bridge::ScriptObject(iValue));
    return result;
}

}  // namespace Tether
