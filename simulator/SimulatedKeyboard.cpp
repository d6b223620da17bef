#include "simulator/SimulatedKeyboard.h"

namespace korvana {
namespace {

// A damaged slot file stays empty here as in korvana-keyboard; the window has no place for the
// lines that program prints.
bool LoadStore(SlotStore& store) {
    std::string error;
    std::vector<std::string> skipped;
    return store.Load(error, skipped);
}

// Real ports first, the simulated pair last; a pair must be both real or both simulated.
class SimulatedPortBackend : public MidiBackend {
public:
    SimulatedPortBackend(std::unique_ptr<MidiBackend> real, SimulatorOptions options,
                         std::optional<std::filesystem::path> storeFolder)
        : m_pReal(std::move(real)),
          m_keyboard(std::move(options), std::move(storeFolder)),
          m_pSimulated(m_keyboard.TakeProgramSide()) {}

    std::vector<std::string> InputNames() override {
        return Joined(m_pReal ? m_pReal->InputNames() : std::vector<std::string>{}, m_nRealInputs);
    }
    std::vector<std::string> OutputNames() override {
        return Joined(m_pReal ? m_pReal->OutputNames() : std::vector<std::string>{},
                      m_nRealOutputs);
    }

    bool Open(int inIndex, int outIndex, ReceiveCallback onReceive) override {
        Close();
        const bool simulatedIn = inIndex == m_nRealInputs;
        const bool simulatedOut = outIndex == m_nRealOutputs;
        if (simulatedIn != simulatedOut)
            return false;
        MidiBackend* target = simulatedIn ? m_pSimulated.get() : m_pReal.get();
        if (!target || !target->Open(simulatedIn ? 0 : inIndex, simulatedOut ? 0 : outIndex,
                                     std::move(onReceive)))
            return false;
        m_pOpen = target;
        return true;
    }

    void Close() override {
        if (m_pOpen)
            m_pOpen->Close();
        m_pOpen = nullptr;
    }

    bool Send(std::span<const std::uint8_t> message) override {
        return m_pOpen && m_pOpen->Send(message);
    }

private:
    static std::vector<std::string> Joined(std::vector<std::string> names, int& realCount) {
        realCount = static_cast<int>(names.size());
        names.emplace_back(kSimulatedPortName);
        return names;
    }

    std::unique_ptr<MidiBackend> m_pReal;
    SimulatedKeyboard m_keyboard;
    std::unique_ptr<MidiBackend> m_pSimulated;
    MidiBackend* m_pOpen = nullptr;
    int m_nRealInputs = 0;
    int m_nRealOutputs = 0;
};

}  // namespace

SimulatedKeyboard::SimulatedKeyboard(SimulatorOptions options,
                                     std::optional<std::filesystem::path> storeFolder,
                                     std::size_t splitSize)
    : m_store(options.slotCount, std::move(storeFolder)),
      m_bLoaded(LoadStore(m_store)),
      m_cable(MakeLoopbackCable(kSimulatedPortName, kSimulatedPortName, splitSize)),
      m_simulator(std::move(options), m_store, [this](std::span<const std::uint8_t> message) {
          m_cable.second->Send(message);
      }) {
    m_cable.second->Open(
        0, 0, [this](std::span<const std::uint8_t> buffer) { m_simulator.OnBuffer(buffer); });
}

SimulatedKeyboard::~SimulatedKeyboard() {
    m_simulator.Stop();
    m_cable.second->Close();
}

std::unique_ptr<MidiBackend> SimulatedKeyboard::TakeProgramSide() {
    return std::move(m_cable.first);
}

std::unique_ptr<MidiBackend> WithSimulatedKeyboard(
    std::unique_ptr<MidiBackend> real, SimulatorOptions options,
    std::optional<std::filesystem::path> storeFolder) {
    return std::make_unique<SimulatedPortBackend>(std::move(real), std::move(options),
                                                  std::move(storeFolder));
}

}  // namespace korvana
