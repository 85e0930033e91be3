// One fresh simulated adapter per test, and its index in the simulation.
#ifndef CINECAST_TESTS_SIM_ADAPTER_FIXTURE_H
#define CINECAST_TESTS_SIM_ADAPTER_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "Cinecast/CinecasterAdapter.h"
#include "Cinecast/SimAdapter.h"

namespace Sim = DeviceAPI::Cinecast::Sim;
using DeviceAPI::Cinecast::CinecasterAdapter;

class SimAdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_uIndex = Sim::count();
        m_pAdapter = new (std::nothrow) CinecasterAdapter;
        ASSERT_NE(m_pAdapter, nullptr);
        ASSERT_EQ(Sim::count(), m_uIndex + 1);
    }
    void TearDown() override { delete m_pAdapter; }

    CinecasterAdapter* m_pAdapter = nullptr;
    std::size_t m_uIndex = 0;
};

#endif
