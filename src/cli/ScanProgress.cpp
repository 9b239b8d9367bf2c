#include "ScanProgress.h"

#include <unistd.h>

namespace zandrel::cli {

std::function<void(std::size_t, std::size_t)> ScanProgress(std::ostream& err, std::size_t size) {
    if (size < kProgressFromBytes || ::isatty(STDERR_FILENO) == 0)
        return {};
    return [&err](std::size_t done, std::size_t total) {
        if (done < total)
            err << "\rscan: " << done * 100 / total << '%' << std::flush;
        else
            err << "\r          \r" << std::flush;
    };
}

} // namespace zandrel::cli
