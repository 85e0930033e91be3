#include "LiveAgents.h"

#include <unordered_set>

#include "CommandResult.h"

namespace Tether {

namespace {
std::unordered_set<unsigned long long>& Serials()
{
    static std::unordered_set<unsigned long long>* s_pSerials =
        new std::unordered_set<unsigned long long>();  // outlives late records
    return *s_pSerials;
}
unsigned long long s_ullNextSerial = 1;
}  // namespace

unsigned long long LiveAgents::Add()
{
    unsigned long long ullSerial = s_ullNextSerial++;
    Serials().insert(ullSerial);
    return ullSerial;
}

void LiveAgents::Remove(unsigned long long ullSerial)
{
    Serials().erase(ullSerial);
    // The plug-in's own script values must not outlive the isolate, and
    // agents never do.
    if (Serials().empty())
        ReleaseResultMakers();
}

bool LiveAgents::IsLive(unsigned long long ullSerial)
{
    return Serials().count(ullSerial) != 0;
}

}  // namespace Tether
