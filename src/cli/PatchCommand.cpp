#include "PatchCommand.h"

#include "patch/Patch.h"
#include "patch/PatchFiles.h"

namespace zandrel::cli {

namespace {

std::string Bytes(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

Failure MakePatchCommand(const Invocation& call) {
    const PatchMade made = MakePatchFile(call.Operand(0), call.Operand(1), call.Operand(2));
    if (!made.ok())
        return made.failure;
    call.out << Bytes(made.changedBytes) << (made.changedBytes == 1 ? " mudado" : " mudados")
             << "; patch de " << Bytes(made.patchSize) << "\n";
    return {};
}

Failure ApplyPatchCommand(const Invocation& call) {
    return ApplyPatchFile(call.Operand(0), call.Operand(1), call.Operand(2));
}

std::string PatchNote() {
    return "grava em OUT um patch que transforma ORIGINAL em EDITED: IPS (.ips;\n"
           "  mudanças só antes de 16 MiB) ou BPS (.bps), pelo fim do nome; diz quantos\n"
           "  bytes mudaram e o tamanho do patch.\n";
}

std::string ApplyNote() {
    return "aplica PATCH (IPS ou BPS, pelo conteúdo) a FILE e grava o resultado\n"
           "  inteiro em OUT, que não pode ser FILE nem PATCH; um patch BPS de outro\n"
           "  arquivo é recusado pelo CRC32, sem gravar nada.\n";
}

} // namespace zandrel::cli
