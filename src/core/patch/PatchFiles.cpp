#include "patch/PatchFiles.h"

#include <initializer_list>
#include <vector>

#include "patch/Patch.h"
#include "platform/File.h"
#include "platform/NewFile.h"
#include "platform/SameFile.h"

namespace zandrel {

namespace {

Failure RefuseOverwritingAnInput(const std::string& out,
                                 std::initializer_list<const std::string*> inputs) {
    for (const std::string* input : inputs)
        if (Failure failure = RefuseWritingOverOpenFile(out, *input); !failure.ok())
            return failure;
    return {};
}

Failure ReadInput(const std::string& path, std::uint64_t maxSize,
                  std::vector<std::uint8_t>& bytes) {
    const FileStatus status = ReadWholeFile(path, maxSize, bytes);
    return status.ok() ? Failure{} : Failure::CannotRead(path, status);
}

// The patch functions know no file names: `file` is the one their failure is about.
Failure Named(Failure failure, const std::string& file) {
    failure.file = file;
    return failure;
}

} // namespace

PatchMade MakePatchFile(const std::string& original, const std::string& edited,
                        const std::string& out) {
    const std::optional<PatchFormat> format = PatchFormatForName(out);
    if (!format)
        return {0, 0,
                Failure::FileRefused(out, "o nome do patch deve terminar em .ips ou .bps, que "
                                          "dizem o formato. Nada foi gravado.")};
    if (Failure failure = RefuseOverwritingAnInput(out, {&original, &edited}); !failure.ok())
        return {0, 0, failure};
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
    for (const auto& [path, bytes] : {std::pair{&original, &before}, std::pair{&edited, &after}})
        if (Failure failure = ReadInput(*path, kMaxPatchedFileSize, *bytes); !failure.ok())
            return {0, 0, failure};
    const PatchBytes patch = MakePatch(*format, before, after);
    if (!patch.ok())
        return {0, 0, Named(patch.failure, out)};
    if (Failure failure = WriteNewFile(out, patch.bytes); !failure.ok())
        return {0, 0, failure};
    return {CountChangedBytes(before, after), patch.bytes.size(), {}};
}

Failure ApplyPatchFile(const std::string& file, const std::string& patch, const std::string& out) {
    if (Failure failure = RefuseOverwritingAnInput(out, {&file, &patch}); !failure.ok())
        return failure;
    std::vector<std::uint8_t> original;
    std::vector<std::uint8_t> patchBytes;
    if (Failure failure = ReadInput(file, kMaxPatchedFileSize, original); !failure.ok())
        return failure;
    if (Failure failure = ReadInput(patch, kMaxPatchFileSize, patchBytes); !failure.ok())
        return failure;
    const PatchBytes result = ApplyPatch(original, patchBytes);
    if (!result.ok())
        return Named(result.failure, patch);
    return WriteNewFile(out, result.bytes);
}

} // namespace zandrel
