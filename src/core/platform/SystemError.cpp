#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace zandrel {

namespace {

struct ErrorText {
    int number;
    const char* text;
};

// The errors opening, reading, locking, writing, flushing and renaming a file can give.
// EWOULDBLOCK is EAGAIN's number on Linux.
constexpr ErrorText kErrorTexts[] = {
    {EPERM, "Operação não permitida"},
    {ENOENT, "Arquivo ou pasta inexistente"},
    {EINTR, "Operação interrompida"},
    {EIO, "Erro de entrada e saída no dispositivo"},
    {ENXIO, "Dispositivo ou endereço inexistente"},
    {EBADF, "Descritor de arquivo inválido"},
    {EAGAIN, "Recurso temporariamente indisponível"},
    {ENOMEM, "Memória insuficiente"},
    {EACCES, "Permissão negada"},
    {EBUSY, "Dispositivo ou recurso ocupado"},
    {EEXIST, "O arquivo já existe"},
    {EXDEV, "Os nomes ficam em sistemas de arquivos diferentes"},
    {ENODEV, "Dispositivo inexistente"},
    {ENOTDIR, "Uma parte do caminho não é uma pasta"},
    {EISDIR, "É uma pasta"},
    {EINVAL, "Argumento inválido"},
    {ENFILE, "Arquivos abertos demais no sistema"},
    {EMFILE, "Arquivos abertos demais"},
    {ETXTBSY, "Arquivo de programa em uso"},
    {EFBIG, "Arquivo grande demais"},
    {ENOSPC, "Não há espaço livre no dispositivo"},
    {EROFS, "Sistema de arquivos somente para leitura"},
    {ENAMETOOLONG, "Nome de arquivo longo demais"},
    {ENOLCK, "Não há travas de arquivo disponíveis"},
    {ELOOP, "Links simbólicos demais no caminho"},
    {EOPNOTSUPP, "Operação não suportada"},
    {EDQUOT, "Cota de disco excedida"},
};

} // namespace

std::string SystemErrorText(int errorNumber) {
    const auto found = std::ranges::find(kErrorTexts, errorNumber, &ErrorText::number);
    if (found != std::end(kErrorTexts))
        return found->text;
    return "erro do sistema " + std::to_string(errorNumber);
}

} // namespace zandrel
