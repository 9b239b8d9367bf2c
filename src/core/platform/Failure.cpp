#include "platform/Failure.h"

#include "util/Hex.h"
#include "util/Text.h"

namespace zandrel {

namespace {
Failure Make(Result result, std::string file) {
    Failure failure;
    failure.result = result;
    failure.file = std::move(file);
    return failure;
}

Failure WithIo(Result result, std::string file, FileStatus io) {
    Failure failure = Make(result, std::move(file));
    failure.io = io;
    return failure;
}

Failure AtLine(Result result, std::string file, std::int64_t line, bool afterLoneCr) {
    Failure failure = Make(result, std::move(file));
    failure.line = line;
    failure.afterLoneCr = afterLoneCr;
    return failure;
}

Failure WithReason(Result result, std::string file, std::string reason) {
    Failure failure = Make(result, std::move(file));
    failure.reason = std::move(reason);
    return failure;
}

// A palette text, and a length that does not fit in a size.
Failure WithLengths(Result result, std::string file, std::string locationText, std::int64_t length,
                    std::uint64_t size) {
    Failure failure = WithReason(result, std::move(file), std::move(locationText));
    failure.length = length;
    failure.size = size;
    return failure;
}

} // namespace

Failure Failure::CannotRead(std::string path, FileStatus io) {
    return WithIo(Result::CannotRead, std::move(path), io);
}

Failure Failure::CannotWrite(std::string path, FileStatus io) {
    return WithIo(Result::CannotWrite, std::move(path), io);
}

Failure Failure::BeyondEnd(std::string path, std::int64_t at, std::int64_t length,
                           std::uint64_t size) {
    Failure failure = Make(Result::PaletteBeyondEnd, std::move(path));
    failure.location = at;
    failure.length = length;
    failure.size = size;
    return failure;
}

Failure Failure::DefinitionMissing(std::string file, FileStatus io) {
    return WithIo(Result::DefinitionMissing, std::move(file), io);
}

Failure Failure::DefinitionNoComma(std::string file, std::int64_t line, bool afterLoneCr) {
    return AtLine(Result::DefinitionNoComma, std::move(file), line, afterLoneCr);
}

Failure Failure::DefinitionOneComma(std::string file, std::int64_t line, bool afterLoneCr) {
    return AtLine(Result::DefinitionOneComma, std::move(file), line, afterLoneCr);
}

Failure Failure::TooManyEntries(std::string file, std::int64_t line, bool afterLoneCr) {
    return AtLine(Result::TooManyEntries, std::move(file), line, afterLoneCr);
}

Failure Failure::CountTooLarge(std::string path, std::int64_t count) {
    Failure failure = Make(Result::CountTooLarge, std::move(path));
    failure.count = count;
    return failure;
}

Failure Failure::FileRefused(std::string path, std::string reason) {
    return WithReason(Result::FileRefused, std::move(path), std::move(reason));
}

Failure Failure::NoColours(std::string path, const std::string& palette,
                           const std::string& countText) {
    return WithReason(Result::NoColours, std::move(path),
                      "a paleta " + palette + " não tem cores (contagem " + Quoted(countText) +
                          ")");
}

Failure Failure::Usage(std::string reason) {
    return WithReason(Result::Usage, {}, std::move(reason));
}

Failure Failure::BadPatch(std::string path, std::string reason) {
    return WithReason(Result::BadPatch, std::move(path), std::move(reason));
}

Failure Failure::Described(std::string path, std::string message) {
    return WithReason(Result::Described, std::move(path), std::move(message));
}

Failure Failure::BadLocation(std::string definitionFile, std::int64_t line,
                             std::string locationText) {
    Failure failure = AtLine(Result::BadLocation, std::move(definitionFile), line, false);
    failure.reason = std::move(locationText);
    return failure;
}

Failure Failure::BadBlock(std::string path, std::int64_t block, std::string reason) {
    Failure failure = WithReason(Result::BadBlock, std::move(path), std::move(reason));
    failure.location = block;
    return failure;
}

Failure Failure::OutsideBlock(std::string path, std::string locationText, std::int64_t length,
                              std::uint64_t dataSize) {
    return WithLengths(Result::OutsideBlock, std::move(path), std::move(locationText), length,
                       dataSize);
}

Failure Failure::DoesNotFit(std::string path, std::string locationText, std::int64_t newLength,
                            std::uint64_t originalLength) {
    return WithLengths(Result::DoesNotFit, std::move(path), std::move(locationText), newLength,
                       originalLength);
}

namespace {

// Where in a definition file the load stopped, and what became of the entries before it.
std::string DefinitionLine(const Failure& f) {
    return "Arquivo de definições " + Quoted(f.file) + ", linha " + std::to_string(f.line) +
           (f.afterLoneCr ? ", depois de um CR no meio da linha" : "") + ": ";
}

std::string DefinitionOutcome(const Failure& f) {
    if (f.nothingLoaded)
        return " Nada foi lido; corrija o arquivo.";
    return f.afterLoneCr ? " A lista foi carregada até esse CR."
                         : " A lista foi carregada até a linha anterior.";
}

// Once a write or its flush has begun, the file may already hold some of the new bytes.
bool WriteHadBegun(const FileStatus& io) {
    return io.error == FileError::WriteFailed || io.error == FileError::SyncFailed;
}

} // namespace

std::string ErrorMessage(const Failure& f) {
    const std::string reason = FileErrorText(f.io);
    switch (f.result) {
    case Result::Ok:
        return {};
    case Result::CannotRead:
        return "Não foi possível ler o arquivo " + Quoted(f.file) + ".\r\n\r\n" + reason;
    case Result::CannotWrite:
        if (WriteHadBegun(f.io))
            return "A gravação no arquivo " + Quoted(f.file) +
                   " começou, mas não pôde ser concluída: o arquivo pode ter sido alterado. "
                   "Confira-o antes de usá-lo.\r\n\r\n" +
                   reason;
        return "Não foi possível gravar no arquivo " + Quoted(f.file) +
               ". Nada foi alterado.\r\n\r\n" + reason;
    case Result::PaletteBeyondEnd:
        return "A paleta de " + std::to_string(f.length) + " bytes na localização " +
               HexText(f.location) + " (hex) passa do fim do arquivo " + Quoted(f.file) +
               ", que tem " + std::to_string(f.size) +
               " bytes. Nada foi gravado, para não mudar o tamanho do arquivo.";
    case Result::DefinitionMissing:
        return "Não foi possível ler o arquivo de definições " + Quoted(f.file) + ".\r\n\r\n" +
               reason;
    case Result::DefinitionNoComma:
        return DefinitionLine(f) + "a linha não tem vírgula (esperado: cores,localização,nome)." +
               DefinitionOutcome(f);
    case Result::DefinitionOneComma:
        return DefinitionLine(f) +
               "a linha tem só uma vírgula (esperado: cores,localização,nome)." +
               DefinitionOutcome(f);
    case Result::TooManyEntries:
        return DefinitionLine(f) + "o arquivo tem mais de 32767 paletas." + DefinitionOutcome(f);
    case Result::CountTooLarge:
        return "A paleta tem " + std::to_string(f.count) +
               " cores, mais do que o visor de bytes pode mostrar.";
    case Result::FileRefused:
    case Result::NoColours:
        return Quoted(f.file) + ": " + f.reason;
    case Result::Usage:
    case Result::Described:
        return f.reason;
    case Result::BadPatch:
        return "O patch " + Quoted(f.file) + " não pode ser aplicado: " + f.reason +
               ". Nada foi gravado.";
    case Result::BadLocation:
        return DefinitionLine(f) + "a localização " + Quoted(f.reason) +
               " não é válida (esperado: de 1 a 8 dígitos hex até 7FFFFFFF, como 1A0, ou um "
               "bloco comprimido, como LZ:3B8A8C ou LZ:3B8A8C+20). Nada foi lido nem gravado.";
    case Result::BadBlock:
        return "O bloco comprimido LZ77 na localização hex " + HexText(f.location) +
               " do arquivo " + Quoted(f.file) + " não pode ser lido: " + f.reason +
               ". Nada foi gravado.";
    case Result::OutsideBlock:
        return "A paleta " + f.reason + " (hex; " + std::to_string(f.length) +
               " bytes) não está dentro dos dados do seu bloco comprimido no arquivo " +
               Quoted(f.file) + ", que tem " + std::to_string(f.size) +
               " bytes descomprimidos. Nada foi lido nem gravado.";
    case Result::DoesNotFit:
        return "A paleta " + f.reason + " (hex) não cabe mais no seu bloco comprimido no arquivo " +
               Quoted(f.file) + ": recomprimido, o bloco precisa de " + std::to_string(f.length) +
               " bytes, e o espaço do bloco tem " + std::to_string(f.size) +
               " bytes. Nada foi gravado.";
    }
    return {};
}

} // namespace zandrel
