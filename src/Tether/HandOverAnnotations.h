// The record that crosses from a player thread to the main loop goes through
// GLib's queue, whose futex-based locks ThreadSanitizer cannot see; these mark
// the hand-over so it can.
#ifndef TETHER_HAND_OVER_ANNOTATIONS_H
#define TETHER_HAND_OVER_ANNOTATIONS_H

#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* pAddress);
extern "C" void __tsan_release(void* pAddress);
#define TETHER_HAND_OVER_RELEASE(p) __tsan_release(p)
#define TETHER_HAND_OVER_ACQUIRE(p) __tsan_acquire(p)
#else
#define TETHER_HAND_OVER_RELEASE(p) ((void)(p))
#define TETHER_HAND_OVER_ACQUIRE(p) ((void)(p))
#endif

#endif
