// The advisory lock that keeps two Korvana programs from talking to one keyboard at once.

#include <gtest/gtest.h>

#include <chrono>

#include "common/SafeFile.h"
#include "device/KeyboardLock.h"

namespace korvana::test {
namespace {

using namespace std::chrono_literals;

TEST(KeyboardLockTest, SecondHolderWaitsThenGivesUpAndGetsItOnceReleased) {
    TempFolder folder;
    const std::string port = "Keyboard \"A\"/\\:\x1b\xc3\xa9 port";
    KeyboardLock first(folder.Path(), port);
    ASSERT_TRUE(first.Acquire(0ms, {}, {}));
    EXPECT_TRUE(first.IsHeld());

    KeyboardLock second(folder.Path(), port);
    int waits = 0;
    int pumps = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(second.Acquire(
        100ms, [&] { ++waits; }, [&] { return ++pumps > 0; }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_EQ(waits, 1);
    EXPECT_GT(pumps, 1);
    pumps = 0;
    EXPECT_FALSE(second.Acquire(60000ms, {}, [&] { return ++pumps < 3; }))
        << "the caller ends the wait long before its time-out";
    EXPECT_EQ(pumps, 3);

    KeyboardLock other(folder.Path(), "Another keyboard");
    EXPECT_TRUE(other.Acquire(0ms, {}, {})) << "each keyboard has a lock of its own";

    first.Release();
    EXPECT_TRUE(second.Acquire(0ms, {}, {}));
    EXPECT_EQ(second.Path().parent_path(), folder.Path());
}

TEST(KeyboardLockTest, NoPlaceForTheLockFileLeavesTheOperationUnguarded) {
    TempFolder folder;
    KeyboardLock lock(folder.Path() / "missing", "Keyboard");
    EXPECT_TRUE(lock.Acquire(1000ms, {}, {}));
    EXPECT_FALSE(lock.IsHeld());
}

}  // namespace
}  // namespace korvana::test
