// The kite object that every script gets.
#ifndef KITE_KITE_OBJECT_H
#define KITE_KITE_OBJECT_H

#include <string>
#include <v8.h>
#include <vector>

namespace Kite {

// kite.args, quit, gc, destroy, afterIdle, tid; answers the kite object.
v8::Local<v8::Object> InstallKiteObject(v8::Local<v8::Context> context,
                                        const std::vector<std::string>& aArgs);

}  // namespace Kite

#endif
