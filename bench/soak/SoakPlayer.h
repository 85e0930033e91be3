// The soak's player: accepts every command at once and keeps no record, so
// that a long run measures what the plug-in and the engine keep. While
// events are on, one producer thread fires events of every code at the
// players alive, in turn, at a steady rate.
#ifndef TETHER_SOAK_PLAYER_H
#define TETHER_SOAK_PLAYER_H

#include <cstddef>

namespace Soak {

// Adapters constructed from now on get a soak player.
void InstallSoakPlayers();

// Starts (or retunes) and stops the producer thread.
void StartEvents(unsigned uPerSecond);
void StopEvents();

// Events fired so far, and soak players alive.
unsigned long long FiredEvents();
std::size_t LivePlayers();

}  // namespace Soak

#endif
