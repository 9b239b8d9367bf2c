// Where the program's own files and the user's are looked for.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "TempDir.h"
#include "platform/DataFolders.h"
#include "rom/Definitions.h"

namespace zandrel::testing {
namespace {

TEST(DataFolders, UserFoldersFollowTheBaseFolderVariablesOrTheirDefaults) {
    EXPECT_EQ(UserFolder("/x/data", "/home/u", ".local/share"), "/x/data/zandrel");
    // A relative value is ignored, as an unset one is.
    EXPECT_EQ(UserFolder("rel", "/home/u", ".local/share"), "/home/u/.local/share/zandrel");
    EXPECT_EQ(UserFolder(nullptr, "/home/u", ".cache"), "/home/u/.cache/zandrel");
}

TEST(DataFolders, TheDataFolderIsBesideTheProgramOnlyWhenDefinitionFilesAreThere) {
    const TempDir root;
    const std::filesystem::path bin = root.path() / "bin";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directory(bin / "KEMR_J.ZNDL");
    EXPECT_EQ(DataFolderFor(bin.string()), (root.path() / "share" / "zandrel").string());
    // A named pipe in a definition file's place is refused when read, not passed over.
    ASSERT_EQ(::mkfifo((bin / "Torv_E.zndl").c_str(), 0600), 0);
    EXPECT_EQ(DataFolderFor(bin.string()), bin.string());
}

TEST(DataFolders, AUsersDefinitionFileIsReadBeforeTheProgramsOwn) {
    const TempDir user;
    const DataFolders folders{"/program/data", user.path().string(), ""};
    EXPECT_EQ(DefinitionFolder("TORV_E.ZNDL", folders), "/program/data");
    user.WriteText("TORV_E.ZNDL", "16,0,Minha paleta\r\n");
    EXPECT_EQ(DefinitionFolder("TORV_E.ZNDL", folders), user.path().string());
    EXPECT_EQ(DefinitionFolder("KEMR_J.ZNDL", folders), "/program/data");
}

} // namespace
} // namespace zandrel::testing
