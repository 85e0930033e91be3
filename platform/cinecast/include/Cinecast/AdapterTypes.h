// What the adapter and the players behind it speak of: player states, event
// codes, the events and the handlers' forms.
#ifndef CINECAST_ADAPTER_TYPES_H
#define CINECAST_ADAPTER_TYPES_H

#include <string>

typedef enum {
    PLAYER_STATE_NONE = 0,     // created, no media
    PLAYER_STATE_IDLE = 1,     // media set, not prepared
    PLAYER_STATE_READY = 2,    // prepared, not started
    PLAYER_STATE_PLAYING = 3,
    PLAYER_STATE_PAUSED = 4
} player_state_e;

namespace DeviceAPI {
namespace Common {
class MultiCallbackUserData;
}  // namespace Common

namespace Cinecast {

class CinecastSoundAnalysisCallback;

// Event codes under which handlers are registered.
enum KiteBridgeCallBack {
    KITE_BRIDGE_BUFFERING = 0,          // bool (*)(int percent, void* userData)
    KITE_BRIDGE_PREPARE_COMPLETE = 1,   // bool (*)(void* userData)
    KITE_BRIDGE_PLAY_COMPLETE = 2,      // bool (*)(void* userData)
    KITE_BRIDGE_SEEK_COMPLETE = 3,      // bool (*)(void* userData)
    KITE_BRIDGE_CURRENT_TIME = 4,       // bool (*)(unsigned long long time, void* userData)
    KITE_BRIDGE_ERROR_EVENT = 5,        // bool (*)(KiteBridgeEvent* event, void* userData)
    KITE_BRIDGE_ASM_PAUSE = 6,          // bool (*)(KiteBridgeEvent* event, void* userData)
    KITE_BRIDGE_ASM_RESUME = 7,         // bool (*)(KiteBridgeEvent* event, void* userData)
    KITE_BRIDGE_SOUND_ANALYSIS = 8,     // bool (*)(const int* bands, int count, void* userData)
    KITE_BRIDGE_CALLBACK_COUNT = 9
};

struct KiteBridgeEvent {
    int type;
    std::string param1;
    std::string param2;
};

typedef bool (*BufferingHandler)(int iPercent, void* pUserData);
typedef bool (*CompletionHandler)(void* pUserData);
typedef bool (*CurrentTimeHandler)(unsigned long long ullTime, void* pUserData);
typedef bool (*EventHandler)(KiteBridgeEvent* pEvent, void* pUserData);
typedef bool (*SoundAnalysisHandler)(const int* pBands, int iCount, void* pUserData);

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
