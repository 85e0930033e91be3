// A record crosses from a player thread to the main loop through GLib's
// queue. GLib orders the two sides with its main-context lock, a futex that
// ThreadSanitizer cannot see, so under that sanitizer a lock of ours stands
// in for it: held around the queueing call, as GLib holds its lock while it
// attaches the source, and taken by the delivery before it reads anything,
// as GLib takes its lock before it dispatches. The sanitizer then sees the
// record and GLib's own source pass from one thread to the other.
#ifndef TETHER_HAND_OVER_ANNOTATIONS_H
#define TETHER_HAND_OVER_ANNOTATIONS_H

#if defined(__SANITIZE_THREAD__)
#include <mutex>

namespace Tether {
inline std::mutex& HandOverLock()
{
    static std::mutex s_lock;
    return s_lock;
}
}  // namespace Tether

// On the player thread: queue under the stand-in lock.
#define TETHER_HAND_OVER_QUEUE(queueing)                                  \
    do {                                                                   \
        std::lock_guard<std::mutex> handOverGuard(::Tether::HandOverLock()); \
        queueing;                                                          \
    } while (0)
// On the main loop, before the record is read.
#define TETHER_HAND_OVER_RECEIVE()                                         \
    do {                                                                   \
        std::lock_guard<std::mutex> handOverGuard(::Tether::HandOverLock()); \
    } while (0)
#else
#define TETHER_HAND_OVER_QUEUE(queueing) queueing
#define TETHER_HAND_OVER_RECEIVE() ((void)0)
#endif

#endif
