// The special mode's jumps between palette candidates (F3 and Shift+F3): the raw candidates
// the scanner finds in the file, scanned once for each version of the file (its path, size
// and modification time).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/FileVersion.h"

namespace zandrel {

class CandidateJumps {
  public:
    // The nearest raw candidate after `location` (or before it, `backward`); nothing when
    // there is none that way. The file is scanned when it is not the version scanned last; a
    // file that cannot be read, or is larger than a GBA ROM, is a failure.
    Failure Next(const std::string& path, std::int32_t location, bool backward,
                 std::optional<std::int32_t>& next);

  private:
    Failure Scan(const std::string& path);

    std::optional<FileVersion> scanned_;
    std::vector<std::int32_t> locations_; // in file order
};

} // namespace zandrel
