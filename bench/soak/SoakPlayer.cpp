#include "SoakPlayer.h"

#include <Cinecast/AcceptingBackend.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace Soak {

namespace {

using DeviceAPI::Cinecast::CAcceptingBackend;
using DeviceAPI::Cinecast::CAdapterBackend;
using DeviceAPI::Cinecast::KiteBridgeCallBack;
using DeviceAPI::Cinecast::KiteBridgeEvent;

// The players alive. Events are fired with the lock held, and a player
// leaves under the same lock, so no handler runs once its destructor has
// returned.
std::mutex s_lock;
std::vector<CAdapterBackend*> s_players;
std::size_t s_uNext = 0;

std::atomic<unsigned long long> s_ullFired{0};
std::atomic<unsigned> s_uPerSecond{0};
std::atomic<bool> s_bRunning{false};
std::thread* s_pProducer = nullptr;  // main thread only

class CSoakPlayer : public CAcceptingBackend {
public:
    CSoakPlayer()
    {
        std::lock_guard<std::mutex> guard(s_lock);
        s_players.push_back(this);
    }
    ~CSoakPlayer() override
    {
        std::lock_guard<std::mutex> guard(s_lock);
        s_players.erase(std::find(s_players.begin(), s_players.end(), this));
    }

    bool GetCurrentPosition(unsigned long long* pullPosition) override
    {
        *pullPosition = 4242;
        return true;
    }
    bool GetPlayerState(player_state_e* peState) override
    {
        *peState = PLAYER_STATE_PLAYING;
        return true;
    }
};

CAdapterBackend* MakeSoakPlayer()
{
    return new CSoakPlayer();
}

// One event of code ullSerial % 9 at the next player; caller holds s_lock.
void FireOne(unsigned long long ullSerial)
{
    if (s_players.empty())
        return;
    CAdapterBackend* pPlayer = s_players[s_uNext++ % s_players.size()];
    int iCode = static_cast<int>(ullSerial % DeviceAPI::Cinecast::KITE_BRIDGE_CALLBACK_COUNT);
    KiteBridgeEvent event{static_cast<int>(ullSerial & 0x7f), "soak param1", "soak param2"};
    const int aBands[] = {1, -2, 3, static_cast<int>(ullSerial)};
    switch (iCode) {
    case 0: pPlayer->FireBuffering(static_cast<int>(ullSerial % 101)); break;
    case 4: pPlayer->FireCurrentTime(ullSerial * 40); break;
    case 5: case 6: case 7: pPlayer->FireEvent(static_cast<KiteBridgeCallBack>(iCode), &event); break;
    case 8: pPlayer->FireSoundAnalysis(aBands, 4); break;
    default: pPlayer->FireCompletion(static_cast<KiteBridgeCallBack>(iCode)); break;
    }
    s_ullFired.fetch_add(1, std::memory_order_relaxed);
}

// Fires in small bursts every millisecond, so the rate holds without a
// sleep per event.
void Produce()
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    unsigned long long ullDue = 0;
    unsigned long long ullSerial = 0;
    while (s_bRunning.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        double dSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        ullDue = static_cast<unsigned long long>(dSeconds * s_uPerSecond.load());
        std::lock_guard<std::mutex> guard(s_lock);
        while (ullSerial < ullDue)
            FireOne(ullSerial++);
    }
}

}  // namespace

void InstallSoakPlayers()
{
    DeviceAPI::Cinecast::SetBackendFactory(MakeSoakPlayer);
}

void StartEvents(unsigned uPerSecond)
{
    StopEvents();
    s_uPerSecond.store(uPerSecond);
    s_bRunning.store(true);
    s_pProducer = new std::thread(Produce);
}

void StopEvents()
{
    s_bRunning.store(false);
    if (s_pProducer != nullptr) {
        s_pProducer->join();
        delete s_pProducer;
        s_pProducer = nullptr;
    }
}

unsigned long long FiredEvents()
{
    return s_ullFired.load();
}

std::size_t LivePlayers()
{
    std::lock_guard<std::mutex> guard(s_lock);
    return s_players.size();
}

}  // namespace Soak
