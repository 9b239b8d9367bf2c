#include "util/SharedWork.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace zandrel {

void ShareAmongThreads(std::size_t parts, const std::function<void(std::size_t, bool)>& work) {
    std::atomic<std::size_t> next = 0;
    const auto takeParts = [&](bool onCaller) {
        for (std::size_t part = next++; part < parts; part = next++)
            work(part, onCaller);
    };
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), parts);
    std::vector<std::future<void>> others; // each waits for its thread as it leaves
    try {
        while (others.size() + 1 < threads)
            others.push_back(std::async(std::launch::async, takeParts, false));
    } catch (const std::system_error&) { // no thread to spare: fewer share the parts
    }
    takeParts(true);
    for (auto& other : others)
        other.get();
}

} // namespace zandrel
