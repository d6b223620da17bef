// Operations against a scripted device: the bytes they send and how they fail.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "DeviceFixture.h"
#include "common/RecordingPrompt.h"
#include "common/SafeFile.h"
#include "device/Frame.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

Bytes ReadReply(std::uint32_t size, std::uint32_t blocks) {
    Bytes payload = {kStatusOk};
    AppendLe32(payload, size);
    AppendLe32(payload, blocks);
    return MakeFrame(kCmdRead, payload);
}

Bytes Block(std::uint32_t index, std::uint16_t length, std::size_t carried, std::uint8_t fill) {
    Bytes payload;
    AppendLe32(payload, index);
    AppendLe16(payload, length);
    payload.insert(payload.end(), carried, fill);
    return MakeFrame(kCmdRead, payload);
}

// Answers the first read request with readReply and each later one with the next block.
Responder FetchScript(Bytes readReply, std::vector<Bytes> blocks) {
    auto step = std::make_shared<std::size_t>(0);
    return [=](const Bytes& sent) -> std::vector<Bytes> {
        std::vector<Bytes> replies = {MakeChunkAck()};
        if (sent.size() > kCommandOffset && sent[kCommandOffset] == kCmdRead) {
            const std::size_t n = (*step)++;
            if (n == 0)
                replies.push_back(readReply);
            else if (n - 1 < blocks.size())
                replies.push_back(blocks[n - 1]);
        }
        return replies;
    };
}

// Answers a file header and a complete data frame with these statuses.
Responder SendScript(std::uint8_t headerStatus, std::uint8_t dataStatus) {
    return [=](const Bytes& sent) -> std::vector<Bytes> {
        std::vector<Bytes> replies = {MakeChunkAck()};
        if (sent.size() == 32 && sent[kCommandOffset] == kCmdFile)
            replies.push_back(MakeFrame(kCmdFile, Bytes{headerStatus}));
        else if (sent.size() < 48 && sent.size() > 14)  // the data frame's last piece
            replies.push_back(MakeFrame(kCmdFile, Bytes{dataStatus}));
        return replies;
    };
}

class OperationsTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        m_target = m_folder.Path() / "fetched.bin";
    }
    TempFolder m_folder;
    fs::path m_target;
    RecordingPrompt m_prompt;
    ScopedPrompt m_scope{m_prompt};
};

TEST_F(OperationsTest, FetchWritesTheWholeFileAndEndsTheRead) {
    m_pBackend->SetResponder(
        FetchScript(ReadReply(300, 2), {Block(0, 256, 256, 0xA1), Block(1, 44, 44, 0xB2)}));
    ASSERT_TRUE(m_link.ReceiveFile(m_target, 4, 200));
    const auto bytes = ReadWholeFile(m_target);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 300u);
    EXPECT_EQ((*bytes)[255], 0xA1);
    EXPECT_EQ((*bytes)[256], 0xB2);
    const std::vector<Bytes> sent = m_pBackend->Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], MakeFrame(kCmdRead, Bytes{4}));
    EXPECT_EQ(sent[3], MakeFrame(kCmdRead, Bytes{0}));
    EXPECT_TRUE(m_link.IsIdle());
}

struct BadFetch {
    const char* what;
    Bytes readReply;
    std::vector<Bytes> blocks;
};

TEST_F(OperationsTest, FaultyFetchesWriteNothing) {
    const std::vector<BadFetch> cases = {
        {"wrong block index", ReadReply(300, 2), {Block(1, 256, 256, 1), Block(1, 44, 44, 1)}},
        {"block past its 256-byte place", ReadReply(600, 3), {Block(0, 300, 300, 1)}},
        {"block past the announced size",
         ReadReply(300, 2),
         {Block(0, 256, 256, 1), Block(1, 60, 60, 1)}},
        {"bytes no block covered", ReadReply(300, 2), {Block(0, 200, 200, 1), Block(1, 44, 44, 1)}},
        {"block shorter than its length field", ReadReply(300, 2), {Block(0, 256, 100, 1)}},
        {"block count that cannot fit the size", ReadReply(300, 1), {Block(0, 256, 256, 1)}},
        {"read refused", MakeFrame(kCmdRead, Bytes{kStatusError}), {}},
        {"size beyond reason", ReadReply(0xFFFFFF00u, 0xFFFFFFu), {}},
        {"size one past the largest image",
         ReadReply(kMaxImageSize + 1, (kMaxImageSize + kBlockSize) / kBlockSize),
         {}},
        {"no blocks come", ReadReply(300, 2), {}},
    };
    for (const BadFetch& c : cases) {
        ASSERT_TRUE(WriteFileAtomically(m_target, Bytes{'k', 'e', 'e', 'p'}));
        m_pBackend->SetResponder(FetchScript(c.readReply, c.blocks));
        EXPECT_FALSE(m_link.ReceiveFile(m_target, 1, 50)) << c.what;
        EXPECT_EQ(ReadWholeFile(m_target), (Bytes{'k', 'e', 'e', 'p'})) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.Path()), fs::directory_iterator()),
                  1)
            << c.what;
        EXPECT_TRUE(m_link.IsIdle()) << c.what;
    }
}

TEST_F(OperationsTest, SendPutsHeaderThenAcknowledgedDataOnTheWire) {
    m_pBackend->SetResponder(SendScript(kStatusOk, kStatusOk));
    Bytes image(1000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(m_link.SendFile(image, 3, 500));
    const std::vector<Bytes> sent = m_pBackend->Sent();
    ASSERT_EQ(sent.size(), 1u + 44u);
    Bytes header = {3, 0};
    AppendLe32(header, 1000);
    AppendLe32(header, 1);
    EXPECT_EQ(sent[0], MakeFrame(kCmdFile, header));
    // The data frame's checksum bytes carry the sum of the unpacked file bytes.
    const Bytes& last = sent.back();
    EXPECT_EQ(CarriedSum(last), DataSum(image));
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(OperationsTest, CapacityRefusalIsShownAndReportedBeforeTheTimeOut) {
    m_pBackend->SetResponder(SendScript(kStatusCapacity, kStatusOk));
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_link.SendFile(Bytes(4000, 1), 0, 3000));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(m_prompt.m_texts, std::vector<std::string>{"Capacity is not allowed!"});
    EXPECT_EQ(m_pBackend->Sent().size(), 1u);  // no data follows a refused header
    EXPECT_EQ(m_link.TransState(), kStateHeaderCapacity);
}

TEST_F(OperationsTest, RefusedDataFailsTheSend) {
    m_pBackend->SetResponder(SendScript(kStatusOk, kStatusError));
    EXPECT_FALSE(m_link.SendFile(Bytes(100, 1), 0, 500));
    EXPECT_EQ(m_link.TransState(), kStateDataRefused);
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(OperationsTest, SlotNumbersAbove255AreRefusedWithoutSending) {
    EXPECT_FALSE(m_link.DeleteSlot(256));
    EXPECT_FALSE(m_link.SendFile(Bytes(100, 1), 256, 500));
    EXPECT_FALSE(m_link.ReceiveFile(m_target, 256, 200));
    EXPECT_TRUE(m_pBackend->Sent().empty());
    EXPECT_TRUE(m_link.IsIdle());
    EXPECT_FALSE(fs::exists(m_target));
}

TEST_F(OperationsTest, IdleFlagIsClearedWhileAnOperationRuns) {
    std::atomic<int> idleSeen{-1};
    m_pDevice->SetPump([&] { idleSeen = m_link.IsIdle() ? 1 : 0; }, std::chrono::milliseconds(5));
    EXPECT_FALSE(m_link.DeleteSlot(1));  // the script only acknowledges
    EXPECT_EQ(idleSeen.load(), 0);
    EXPECT_TRUE(m_link.IsIdle());
}

TEST_F(OperationsTest, ConnectFailuresShowTheirTexts) {
    std::string name;
    EXPECT_FALSE(m_link.ConnectDevice(0, name, 0));  // acknowledged, never answered
    EXPECT_FALSE(m_link.ConnectDevice(0, name, 7));  // no such output
    EXPECT_EQ(m_prompt.m_texts,
              (std::vector<std::string>{"Connect request error!", "Device cannot be opened!"}));
}

TEST_F(OperationsTest, OperationsOnClosedPortsFailAtOnce) {
    m_pDevice->EnumDevices();  // closes the pair
    std::vector<std::string> names;
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_link.ReadDirectory(names));
    EXPECT_FALSE(m_link.DeleteSlot(0));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_TRUE(m_pBackend->Sent().empty());
}

TEST_F(OperationsTest, LargestImageIsFetched) {
    std::vector<Bytes> blocks;
    for (std::uint32_t i = 0; i * kBlockSize < kMaxImageSize; ++i) {
        const auto length =
            static_cast<std::uint16_t>(std::min(kBlockSize, kMaxImageSize - i * kBlockSize));
        blocks.push_back(Block(i, length, length, static_cast<std::uint8_t>(i)));
    }
    m_pBackend->SetResponder(
        FetchScript(ReadReply(kMaxImageSize, static_cast<std::uint32_t>(blocks.size())), blocks));
    ASSERT_TRUE(m_link.ReceiveFile(m_target, 0, 200));
    EXPECT_EQ(fs::file_size(m_target), kMaxImageSize);
}

TEST_F(OperationsTest, SendThatOutlastsItsOverallDeadlineFails) {
    // Every chunk is acknowledged well within its own time-out, but later than a send may take
    // on average.
    const std::chrono::milliseconds pace = kChunkAllowance * 2;
    const Responder answer = SendScript(kStatusOk, kStatusOk);
    m_pBackend->SetResponder([&](const Bytes& sent) {
        std::this_thread::sleep_for(pace);
        return answer(sent);
    });
    const Bytes image(300, 1);
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(m_link.SendFile(image, 0, 50));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, CMidiTrans::SendDeadline(image.size(), 50));
    EXPECT_LT(took, CMidiTrans::SendDeadline(image.size(), 50) + 2 * pace);
    EXPECT_LT(m_pBackend->Sent().size(), CMidiTrans::SendSteps(image.size()));
}

TEST_F(OperationsTest, OperationWaitsForTheKeyboardsLockThenGivesUp) {
    m_pBackend->SetResponder([](const Bytes& sent) -> std::vector<Bytes> {
        if (sent[kCommandOffset] == kCmdConnect)
            return {MakeChunkAck(), MakeFrame(kCmdConnect, Bytes{kStatusOk, 0, 1, 'K'})};
        return {MakeChunkAck(), MakeFrame(kCmdDelete, Bytes{kStatusOk})};
    });
    std::string name;
    ASSERT_TRUE(m_link.ConnectDevice(0, name, 0));
    int waits = 0;
    m_link.SetLockWait(std::chrono::milliseconds(100), [&] { ++waits; });
    KeyboardLock other(m_lockFolder.Path(), "Test out");
    ASSERT_TRUE(other.Acquire(std::chrono::milliseconds(0), {}, {}));
    const std::size_t sent = m_pBackend->Sent().size();
    EXPECT_FALSE(m_link.GaveUpOnLock());
    EXPECT_FALSE(m_link.DeleteSlot(4));
    EXPECT_TRUE(m_link.GaveUpOnLock());
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(m_pBackend->Sent().size(), sent) << "nothing is sent without the lock";
    EXPECT_TRUE(m_link.IsIdle());

    // A stop ends the wait however long it would have been.
    m_link.SetLockWait(std::chrono::minutes(1), [&] { m_link.RequestStop(); });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_link.DeleteSlot(4));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    m_link.ClearStop();
    other.Release();
    EXPECT_TRUE(m_link.DeleteSlot(4));
    EXPECT_EQ(waits, 1);
}

}  // namespace
}  // namespace korvana::test
