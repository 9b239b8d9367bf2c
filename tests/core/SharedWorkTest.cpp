// Work shared among the machine's threads: every part once, what only the calling thread may
// do on it, and a part's failure reaching the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "util/SharedWork.h"

namespace zandrel::testing {
namespace {

TEST(SharedWork, EveryPartOnceAndTheCallerKnowsItsOwn) {
    constexpr std::size_t kParts = 1000;
    std::vector<std::atomic<int>> done(kParts);
    std::atomic<int> misnamed = 0;
    const std::thread::id caller = std::this_thread::get_id();
    ShareAmongThreads(kParts, [&](std::size_t part, bool onCaller) {
        ++done[part];
        misnamed += onCaller != (std::this_thread::get_id() == caller);
    });
    for (std::size_t part = 0; part < kParts; ++part)
        EXPECT_EQ(done[part], 1) << part;
    EXPECT_EQ(misnamed, 0);
}

// Whichever thread takes it.
TEST(SharedWork, APartThatFailsFailsTheWhole) {
    EXPECT_THROW(ShareAmongThreads(100,
                                   [](std::size_t part, bool) {
                                       if (part == 42)
                                           throw std::runtime_error("part 42");
                                   }),
                 std::runtime_error);
}

} // namespace
} // namespace zandrel::testing
