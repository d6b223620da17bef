#pragma once

// A fresh link talking over a loopback cable to an in-process simulated keyboard, connected and
// ready.

#include <gtest/gtest.h>

#include <memory>

#include "common/RecordingPrompt.h"
#include "common/SafeFile.h"
#include "device/CMidiTrans.h"
#include "simulator/SimulatedKeyboard.h"

namespace korvana::test {

class SimulatorFixture : public ::testing::Test {
protected:
    // Replaces the keyboard (and the cable) with a new one and connects to it.
    void Attach(SimulatorOptions options = {},
                std::optional<std::filesystem::path> store = std::nullopt,
                std::size_t splitSize = 0) {
        m_pDevice->SetBackend(nullptr);
        m_pKeyboard = std::make_unique<SimulatedKeyboard>(options, store, splitSize);
        m_pDevice->SetBackend(m_pKeyboard->TakeProgramSide());
        m_pDevice->EnumDevices();
        std::string name;
        ASSERT_TRUE(m_link.ConnectDevice(0, name, 0));
        ASSERT_EQ(name, options.name);
    }
    void SetUp() override {
        m_link.SetLockFolder(m_lockFolder.Path());
        Attach();
    }
    void TearDown() override { m_pDevice->SetBackend(nullptr); }

    KeyboardSimulator& Simulator() { return m_pKeyboard->Simulator(); }
    SlotStore& Store() { return m_pKeyboard->Store(); }

    std::unique_ptr<SimulatedKeyboard> m_pKeyboard;
    TempFolder m_lockFolder;
    CMidiTrans m_link;
    CMidiDevice* m_pDevice = &m_link.Device();
    RecordingPrompt m_prompt;
    ScopedPrompt m_scope{m_prompt};
};

}  // namespace korvana::test
