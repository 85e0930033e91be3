// The object every command answers a script with.
#ifndef TETHER_COMMAND_RESULT_H
#define TETHER_COMMAND_RESULT_H

#include <Bridge/ScriptObject.h>

namespace Tether {

// "return_ecode" values.
enum ECommandCode {
    COMMAND_SUCCESS = 0,
    COMMAND_FAILED = -1,          // the adapter refused
    COMMAND_INVALID_PARAM = -2    // the arguments were unusable; nothing was called
};

// "return_type" of a query's "return_data": an integer.
const int RETURN_TYPE_INT = 1;

// A new object holding only "return_ecode".
Bridge::ScriptObject MakeCommandResult(int iErrorCode);

// A new successful query answer: "return_ecode" 0, "return_type" 1 and
// "return_data", set in that order.
Bridge::ScriptObject MakeQueryResult(int iValue);

}  // namespace Tether

#endif
