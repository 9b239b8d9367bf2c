// The program's own texts, kept in one place.
#pragma once

namespace zandrel::text {

inline constexpr const char* kOpenTitle = "Abrir";
inline constexpr const char* kSaveTitle = "Salvar";
inline constexpr const char* kOpenFilter =
    "ROMs de GBA (*.gba)|*.gba|Dump de memória (*.dmp)|*.dmp";
inline constexpr const char* kSpecialFilter = "ROMs de GBA (*.gba)|*.gba";
inline constexpr const char* kImportFilter = "GBAPAL - Paleta do GBA|*.GBAPAL";
inline constexpr const char* kExportFilter =
    "GBAPAL - Paleta do GBA|*.GBAPAL|TPL - paleta do Tile Layer Pro|*.tpl|PAL - paleta padrão "
    "JASC|*.pal";

inline constexpr const char* kNotIdentified =
    "O arquivo escolhido não foi identificado como um dos jogos suportados.";
inline constexpr const char* kPaletteSaved = "Paleta salva.";
inline constexpr const char* kFewerThan16 =
    "Esta paleta possui menos de 16 cores. Tente outra por favor...";
inline constexpr const char* kQuitQuestion = "Deseja realmente sair?";
inline constexpr const char* kQuitTitle = "Sair";
inline constexpr const char* kTypeLocation = "Digite a localização HEX";
inline constexpr const char* kTypeNewLocation = "Digite nova localização HEX";
inline constexpr const char* kAboutVersion = "Versão ";
inline constexpr const char* kAboutCopyright =
    "Copyright © 2026 the Zandrel developers. Free software; no warranty.";

inline constexpr const char* kNoGame = "...";
inline constexpr const char* kMemoryDump = "MEMORY DUMP";
inline constexpr const char* kSpecialState = "MODO ESPECIAL";
inline constexpr const char* kLocationCaption = "Localização: ";
inline constexpr const char* kSpecialWord = "KALDREX";

inline constexpr const char* kPreviewCaption = "Imagem de amostra";
inline constexpr const char* kBytesCaption = "Bytes";
inline constexpr const char* kPressEscToReturn = "Aperte ESC para voltar.";

} // namespace zandrel::text
