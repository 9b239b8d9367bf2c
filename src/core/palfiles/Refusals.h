// How the format readers refuse a file's bytes: FileRefused with no file name (a reader knows
// none; the caller names the file) and a reason that starts with the line or offset at fault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Failure.h"

namespace zandrel {

Failure Refused(std::string reason);
// "linha 3: ", "offset 768: ".
std::string AtLine(std::size_t line);
std::string AtOffset(std::size_t offset);
// At the offset `size`: "o arquivo termina antes dos 32 bytes de uma paleta GBA", where
// `needed` is 32 and `what` is "uma paleta GBA".
Failure EndsBefore(std::size_t size, std::size_t needed, std::string_view what);
// At the offset `largest`: "o arquivo tem 1025 bytes; uma paleta GBA tem no máximo 1024".
Failure LargerThan(std::size_t size, std::size_t largest, std::string_view what);
// EndsBefore below `needed` bytes, LargerThan above `largest`.
Failure CheckSize(std::size_t size, std::size_t needed, std::size_t largest, std::string_view what);
// "o arquivo declara 8 cores; são necessárias 16", after the line or offset of the count.
std::string DeclaresTooFew(std::int64_t declared);

} // namespace zandrel
