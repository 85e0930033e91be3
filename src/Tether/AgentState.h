// The agent's own record of how far its player has come; the adapter's states
// (0 to 4) are never stored in it.
#ifndef TETHER_AGENT_STATE_H
#define TETHER_AGENT_STATE_H

namespace Tether {

const int AGENT_STATE_NOT_CREATED = 5;  // no URL accepted yet
const int AGENT_STATE_URI_SET = 6;      // the adapter accepted a URL

}  // namespace Tether

#endif
