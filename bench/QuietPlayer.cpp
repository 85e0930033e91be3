#include "QuietPlayer.h"

#include <Cinecast/AcceptingBackend.h>

namespace TetherBench {

namespace {

using DeviceAPI::Cinecast::CAdapterBackend;

CAdapterBackend* MakeQuietPlayer()
{
    return new DeviceAPI::Cinecast::CAcceptingBackend();
}

}  // namespace

CQuietPlayerScope::CQuietPlayerScope(DeviceAPI::Cinecast::BackendFactory after) : m_after(std::move(after))
{
    DeviceAPI::Cinecast::SetBackendFactory(MakeQuietPlayer);
}

CQuietPlayerScope::~CQuietPlayerScope()
{
    DeviceAPI::Cinecast::SetBackendFactory(m_after);
}

}  // namespace TetherBench
