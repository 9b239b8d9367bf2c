#include "app/Errors.h"

#include "colour/Codec.h"

namespace zandrel {

namespace {
std::string Quoted(const std::string& file) {
    return "\"" + file + "\"";
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
        return "Não foi possível gravar no arquivo " + Quoted(f.file) +
               ". Nada foi alterado.\r\n\r\n" + reason;
    case Result::PaletteBeyondEnd:
        return "A paleta na localização " + HexText(f.offset) + " (" + std::to_string(f.length) +
               " bytes) passa do fim do arquivo " + Quoted(f.file) + ", que tem " +
               std::to_string(f.size) +
               " bytes. Nada foi gravado, para não mudar o tamanho do arquivo.";
    case Result::DefinitionMissing:
        return "Não foi possível ler o arquivo de definições " + Quoted(f.file) + ".\r\n\r\n" +
               reason;
    case Result::DefinitionNoComma:
        return "Arquivo de definições " + Quoted(f.file) + ", linha " + std::to_string(f.line) +
               ": a linha não tem vírgula (esperado: cores,localização,nome). A lista foi "
               "carregada até a linha anterior.";
    case Result::DefinitionOneComma:
        return "Arquivo de definições " + Quoted(f.file) + ", linha " + std::to_string(f.line) +
               ": a linha tem só uma vírgula (esperado: cores,localização,nome). A lista foi "
               "carregada até a linha anterior.";
    case Result::TooManyEntries:
        return "Arquivo de definições " + Quoted(f.file) + ", linha " + std::to_string(f.line) +
               ": o arquivo tem mais de 32767 paletas. A lista foi carregada até a linha "
               "anterior.";
    case Result::ImageNotGif:
        return "A imagem de amostra " + Quoted(f.file) +
               " não é um arquivo GIF. Nenhuma imagem foi alterada.";
    case Result::ImageNoColourTable:
        return "A imagem de amostra " + Quoted(f.file) +
               " não tem tabela de cores global. Nenhuma imagem foi alterada.";
    case Result::ImageSmallColourTable:
        return "A tabela de cores da imagem de amostra " + Quoted(f.file) +
               " tem menos de 16 cores. Nenhuma imagem foi alterada.";
    case Result::ImageTooShort:
        return "A imagem de amostra " + Quoted(f.file) +
               " está incompleta: o arquivo termina antes do fim da tabela de cores. Nenhuma "
               "imagem foi alterada.";
    case Result::CountTooLarge:
        return "A paleta tem " + std::to_string(f.offset) +
               " cores, mais do que o visor de bytes pode mostrar.";
    }
    return {};
}

} // namespace zandrel
