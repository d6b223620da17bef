#pragma once

// Sets up the process's device over a recording backend, opened and ready, with the protocol's
// frame handler installed and the shared words reset.

#include <gtest/gtest.h>

#include "CMidiDevice.h"
#include "CMidiTrans.h"
#include "RecordingBackend.h"

namespace korvana::test {

class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_pDevice = CMidiDevice::GetInstance();
        auto backend = std::make_unique<RecordingBackend>();
        m_pBackend = backend.get();
        m_pDevice->SetBackend(std::move(backend));
        m_pDevice->EnumDevices();
        ASSERT_TRUE(m_pDevice->OpenPorts(0, 0));
        g_pfnFrameHandler = &CMidiTrans::OnFrame;
        g_nTransState = kStateIdle;
        g_bChunkAck = 0;
        g_bProgressNotify = 0;
        g_slotNames.Clear();
    }
    void TearDown() override {
        m_pDevice->SetBackend(nullptr);
        m_pDevice->SetProgress(nullptr);
        m_pDevice->SetPump(nullptr, std::chrono::milliseconds(10));
        g_pfnFrameHandler = nullptr;
        CMidiDevice::ReleaseInstance();
    }

    CMidiDevice* m_pDevice = nullptr;
    RecordingBackend* m_pBackend = nullptr;
};

}  // namespace korvana::test
