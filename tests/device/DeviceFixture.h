#pragma once

// A fresh link over a recording backend, opened and ready.

#include <gtest/gtest.h>

#include "CMidiTrans.h"
#include "RecordingBackend.h"

namespace korvana::test {

class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<RecordingBackend>();
        m_pBackend = backend.get();
        m_pDevice->SetBackend(std::move(backend));
        m_pDevice->EnumDevices();
        ASSERT_TRUE(m_pDevice->OpenPorts(0, 0));
    }

    CMidiTrans m_link;
    CMidiDevice* m_pDevice = &m_link.Device();
    RecordingBackend* m_pBackend = nullptr;
};

}  // namespace korvana::test
