// Work cut into parts that the machine's threads share.
#pragma once

#include <cstddef>
#include <functional>

namespace zandrel {

// How much of a file a thread takes at a time, for work over all of it: a part costs far more
// than taking it, and the last part taken leaves the other threads little to wait for.
constexpr std::size_t kSharedPartBytes = std::size_t{1} << 20;

// `work(part, onCaller)` for every part in [0, parts), each once, on as many threads as the
// machine runs at once, the calling thread among them: `onCaller` tells the parts it takes, for
// what only it may do (reporting progress). Parts are taken in order as threads come free.
// Returns when every part is done, throwing again what a part threw; when no thread can be
// started, the calling thread does every part.
void ShareAmongThreads(std::size_t parts, const std::function<void(std::size_t, bool)>& work);

} // namespace zandrel
