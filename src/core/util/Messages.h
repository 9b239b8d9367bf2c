// The program's own texts, kept in one place.
#pragma once

namespace zandrel::text {

inline constexpr const char* kOpenTitle = "Abrir";
inline constexpr const char* kSaveTitle = "Salvar";
inline constexpr const char* kOpenFilter =
    "ROMs de GBA (*.gba)|*.gba|Dump de memória (*.dmp)|*.dmp";
inline constexpr const char* kSpecialFilter = "ROMs de GBA (*.gba)|*.gba";
// The import's and the export's filters are the palette formats' (palfiles/PaletteFormats.h).

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
    "Copyright © 2026 os desenvolvedores do Zandrel. Software livre, sem nenhuma garantia.";

// The swatches' context menu and what its commands ask or refuse.
inline constexpr const char* kMenuUndo = "Desfazer";
inline constexpr const char* kMenuRedo = "Refazer";
inline constexpr const char* kMenuCopyColour = "Copiar cor";
inline constexpr const char* kMenuCopyPalette = "Copiar paleta";
inline constexpr const char* kMenuPaste = "Colar";
inline constexpr const char* kMenuTypeColour = "Digitar cor…";
inline constexpr const char* kMenuRamp = "Gradiente";
inline constexpr const char* kMenuGbaScreen = "Tela do GBA";
inline constexpr const char* kMenuImportFile = "Importar arquivo de paleta…";
inline constexpr const char* kMenuExportAs = "Exportar como…";
inline constexpr const char* kMenuGraphics = "Gráficos";
inline constexpr const char* kImportFileTitle = "Importar arquivo de paleta";
inline constexpr const char* kExportAsTitle = "Exportar como";
// The import's first filter entry lists every palette format, its last every file.
inline constexpr const char* kEveryPaletteEntry = "Paletas (todos os formatos)";
inline constexpr const char* kAllFilesEntry = "Todos os arquivos (*)|*";
inline constexpr const char* kExportNeedsExtension =
    "O nome do arquivo precisa terminar com a extensão de um formato de paleta: .GBAPAL, .tpl, "
    ".pal, .gpl ou .act. Nada foi gravado.";
inline constexpr const char* kMenuFindInRom = "Localizar na ROM…";
inline constexpr const char* kFindInRomTitle = "Localizar na ROM";
inline constexpr const char* kNameFoundPalette =
    "A paleta foi encontrada num lugar que o arquivo de definições não lista. Digite um nome "
    "para acrescentá-la (vazio: não acrescentar)";
inline constexpr const char* kMenuCreatePatch = "Criar patch…";
inline constexpr const char* kOriginalRomTitle = "ROM original";
inline constexpr const char* kPatchTitle = "Salvar patch";
inline constexpr const char* kPatchFilter = "Patch BPS (*.bps)|*.bps|Patch IPS (*.ips)|*.ips";
inline constexpr const char* kTypeColour = "Digite a cor: uma palavra GBA (7FFF) ou #RRGGBB";
inline constexpr const char* kPasteNeedsSwatch =
    "Nenhuma cor selecionada. Clique numa cor da paleta antes de colar uma cor.";
inline constexpr const char* kPasteNeedsPalette =
    "Nenhuma paleta escolhida. Escolha uma paleta na lista antes de colar uma paleta.";

inline constexpr const char* kNoGame = "...";
inline constexpr const char* kMemoryDump = "MEMORY DUMP";
inline constexpr const char* kSpecialState = "MODO ESPECIAL";
inline constexpr const char* kLocationCaption = "Localização: ";
inline constexpr const char* kSpecialWord = "KALDREX";

inline constexpr const char* kPreviewCaption = "Imagem de amostra";
inline constexpr const char* kBytesCaption = "Bytes";
inline constexpr const char* kPressEscToReturn = "Aperte ESC para voltar.";

// The graphics viewer.
inline constexpr const char* kGraphicsCaption = "Gráficos";
inline constexpr const char* kGraphicsTransparent = "Cor 0 transparente";
inline constexpr const char* kGraphicsSaveImage = "Salvar imagem…";
inline constexpr const char* kGraphicsSaveTitle = "Salvar imagem";
inline constexpr const char* kGraphicsPngFilter = "Imagem PNG (*.png)|*.png";
inline constexpr const char* kGraphicsStart = "Início: ";

} // namespace zandrel::text
