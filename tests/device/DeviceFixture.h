#pragma once

// A fresh link over a recording backend, opened and ready, with keyboard locks of its own.

#include <gtest/gtest.h>

#include "RecordingBackend.h"
#include "common/SafeFile.h"
#include "device/CMidiTrans.h"

namespace korvana::test {

class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_link.SetLockFolder(m_lockFolder.Path());
        auto backend = std::make_unique<RecordingBackend>();
        m_pBackend = backend.get();
        m_pDevice->SetBackend(std::move(backend));
        m_pDevice->EnumDevices();
        ASSERT_TRUE(m_pDevice->OpenPorts(0, 0));
    }

    TempFolder m_lockFolder;
    CMidiTrans m_link;
    CMidiDevice* m_pDevice = &m_link.Device();
    RecordingBackend* m_pBackend = nullptr;
};

}  // namespace korvana::test
