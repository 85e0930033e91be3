#include "CommandResult.h"

namespace Tether {

Bridge::ScriptObject MakeCommandResult(int iErrorCode)
{
    // A fresh object every time: scripts may change what they were given.
    Bridge::ScriptObject result;
    result.set("return_ecode", Bridge::ScriptObject(iErrorCode));
    return result;
}

Bridge::ScriptObject MakeQueryResult(int iValue)
{
    Bridge::ScriptObject result;
    result.set("return_ecode", Bridge::ScriptObject(COMMAND_SUCCESS));
    result.set("return_type", Bridge::ScriptObject(RETURN_TYPE_INT));
    result.set("return_data", Bridge::ScriptObject(iValue));
    return result;
}

}  // namespace Tether
