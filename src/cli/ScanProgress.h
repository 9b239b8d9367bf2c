// How far a long scan has come, on the error stream when it is a terminal: one line that
// rewrites itself ("scan: 42%") and is erased at the end, so nothing of it stays in a log.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>

namespace zandrel::cli {

// A file this large takes long enough for a line of progress to help.
constexpr std::size_t kProgressFromBytes = std::size_t{4} << 20;

// What ScanOptions::progress should call for a file of `size` bytes: nothing unless the
// error stream is a terminal and the file is at least kProgressFromBytes.
std::function<void(std::size_t, std::size_t)> ScanProgress(std::ostream& err, std::size_t size);

} // namespace zandrel::cli
