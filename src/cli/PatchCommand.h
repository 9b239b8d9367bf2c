// zandrel-cli patch and apply: the edits of a ROM image shared as an IPS or BPS patch, and a
// patch applied to a copy. Neither ever writes over one of its inputs.
#pragma once

#include <string>
#include <string_view>

#include "CliCommands.h"

namespace zandrel::cli {

inline constexpr std::string_view kPatchUsage = "ORIGINAL EDITED OUT.ips|OUT.bps";
inline constexpr std::string_view kApplyUsage = "FILE PATCH OUT";

// Writes the patch whole, then says how many bytes changed and how long the patch is.
Failure MakePatchCommand(const Invocation& call);
// Writes OUT whole only when the patch applies cleanly; says nothing on success.
Failure ApplyPatchCommand(const Invocation& call);

std::string PatchNote();
std::string ApplyNote();

} // namespace zandrel::cli
