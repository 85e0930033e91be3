#include "LiveAgents.h"

#include <unordered_set>

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
}

bool LiveAgents::IsLive(unsigned long long ullSerial)
{
    return Serials().count(ullSerial) != 0;
}

}  // namespace Tether
