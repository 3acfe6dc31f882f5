#include "desktop/folder_paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "temp_folder.h"

namespace olmira {
namespace {

using test_support::TempFolder;
using ::testing::UnorderedElementsAre;

std::string CurrentDirectory() {
    return std::filesystem::current_path().string();
}

// The path helpers as one table: helper, input, result.
TEST(PathHelpers, TurnPathsBetweenTheBoxAndThisPc) {
    struct Case {
        const char* helper;
        std::string (*function)(std::string_view);
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"ToBoxPath", &ToBoxPath, "PC1\\temp\\", "PC1/temp"},
        {"ToBoxPath", &ToBoxPath, "PC1\\\\", "PC1/"},
        {"ToBoxPath", &ToBoxPath, "PC1\\aufnahmen\\neu\\", "PC1/aufnahmen/neu"},
        {"ToBoxPath", &ToBoxPath, "PC1/temp/", "PC1/temp"},
        {"ToBoxPath", &ToBoxPath, "", ""},
        {"ToBoxPath", &ToBoxPath, "\\", ""},
        {"ToLocalPath", &ToLocalPath, "/home/user/Filme/", "/home/user/Filme"},
        {"ToLocalPath", &ToLocalPath, "/home/user/Filme", "/home/user/Filme"},
        {"ToLocalPath", &ToLocalPath, "/mnt//", "/mnt/"},
        {"ToLocalPath", &ToLocalPath, "/", "/"},
        {"ToLocalPath", &ToLocalPath, "", ""},
        {"ToLocalPath", &ToLocalPath, "C:\\Filme\\", "C:\\Filme\\"},
        {"StartFolder", &StartFolder, "/home/user/Filme", "/home/user/Filme/"},
        {"StartFolder", &StartFolder, "/home/user/Filme/", "/home/user/Filme/"},
        {"StartFolder", &StartFolder, "D:\\Filme", "D:\\Filme/"},
        {"StartFolder", &StartFolder, "D:\\Filme\\", "D:\\Filme\\"},
        {"StartFolder", &StartFolder, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.function(c.input), c.expected) << c.helper << "(" << c.input << ")";
    }
}

TEST(PathHelpers, ResolvePathPutsTheTreePathBelowTheDrivesSetting) {
    TSetup settings;
    settings.PC1 = "/srv/box/pc1";
    settings.PC3 = "/srv/box/pc3/";
    settings.PC5 = "D:\\Box\\PC5";
    settings.USB = "/media/usb";
    const std::pair<const char*, const char*> cases[] = {
        {"PC1\\aufnahmen\\", "/srv/box/pc1/aufnahmen/"},
        {"PC1\\aufnahmen\\neu\\", "/srv/box/pc1/aufnahmen/neu/"},
        {"PC1\\", "/srv/box/pc1/"},
        {"PC1", "/srv/box/pc1"},
        {"PC3\\a\\", "/srv/box/pc3//a/"},
        {"PC5\\x\\", "D:\\Box\\PC5/x/"},
        {"USB\\Filme\\", "/media/usb/Filme/"},
        // An unconfigured drive, a name in the wrong case, no drive at all.
        {"PC2\\a\\", ""},
        {"usb\\Filme\\", ""},
        {"hdd\\", ""},
        {"", ""},
    };
    for (const auto& [treePath, expected] : cases) {
        EXPECT_EQ(ResolvePath(settings, treePath), expected) << treePath;
    }
}

TEST(PathHelpers, NodePathAndResolveNamesAgree) {
    TSetup settings;
    settings.PC1 = "/srv/pc1";
    EXPECT_EQ(NodePath({"PC1", "aufnahmen", "neu"}), "PC1\\aufnahmen\\neu\\");
    EXPECT_EQ(NodePath({"USB"}), "USB\\");
    EXPECT_EQ(NodePath({}), "");
    EXPECT_EQ(ResolveNames(settings, {"PC1", "aufnahmen", "neu"}),
              ResolvePath(settings, "PC1\\aufnahmen\\neu\\"));
    // A folder name holding "\" is one folder, not two.
    EXPECT_EQ(ResolveNames(settings, {"PC1", "a\\b"}), "/srv/pc1/a\\b/");
    EXPECT_EQ(ResolveNames(settings, {"PC2", "a"}), "");
    EXPECT_EQ(ResolveNames(settings, {}), "");
}

TEST(PathHelpers, NewFolderNameReplacesSeparatorsAndRefusesEmptyAndDots) {
    EXPECT_EQ(NewFolderName("a/b"), "a_b");
    EXPECT_EQ(NewFolderName("a\\b/c"), "a_b_c");
    EXPECT_EQ(NewFolderName("Neuer Ordner"), "Neuer Ordner");
    EXPECT_EQ(NewFolderName(".hidden"), ".hidden");
    EXPECT_EQ(NewFolderName("/"), "_");
    EXPECT_EQ(NewFolderName(""), std::nullopt);
    EXPECT_EQ(NewFolderName("."), std::nullopt);
    EXPECT_EQ(NewFolderName(".."), std::nullopt);
}

TEST(FolderExists, IsTrueForAFolderThatCanBeEnteredAndLeavesTheCurrentDirectory) {
    TempFolder folder;
    folder.Write("file", "x");
    std::filesystem::create_directory(folder.File("sub"));
    std::filesystem::create_directory_symlink(folder.File("sub"), folder.File("link"));
    const std::string before = CurrentDirectory();
    EXPECT_TRUE(FolderExists(folder.Path()));
    EXPECT_TRUE(FolderExists(folder.File("sub")));
    EXPECT_TRUE(FolderExists(folder.File("sub/")));
    EXPECT_TRUE(FolderExists(folder.File("link")));
    EXPECT_TRUE(FolderExists("/"));
    EXPECT_FALSE(FolderExists(folder.File("file")));
    EXPECT_FALSE(FolderExists(folder.File("missing")));
    EXPECT_FALSE(FolderExists(""));
    EXPECT_FALSE(FolderExists("D:\\Filme"));
    EXPECT_EQ(CurrentDirectory(), before);
}

TEST(FolderExists, IsFalseForAFolderThatCannotBeEntered) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root enters every folder";
    }
    TempFolder folder;
    std::filesystem::create_directory(folder.File("closed"));
    ::chmod(folder.File("closed").c_str(), 0600);
    EXPECT_FALSE(FolderExists(folder.File("closed")));
    ::chmod(folder.File("closed").c_str(), 0700);
}

TEST(CreateFolderPath, CreatesMissingParentsFirst) {
    TempFolder folder;
    EXPECT_TRUE(CreateFolderPath(folder.File("a/b/c")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("a/b/c")));
    EXPECT_TRUE(CreateFolderPath(folder.File("a/b/c")));
    EXPECT_TRUE(CreateFolderPath(folder.File("d/")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("d")));
}

TEST(CreateFolderPath, FailsWithTheReasonWhereAFileStandsInTheWay) {
    TempFolder folder;
    folder.Write("file", "x");
    int error = 0;
    EXPECT_FALSE(CreateFolderPath(folder.File("file"), &error));
    EXPECT_EQ(error, EEXIST);
    error = 0;
    // The reason is the parent's: the file stands where a parent should be.
    EXPECT_FALSE(CreateFolderPath(folder.File("file/sub/deeper"), &error));
    EXPECT_EQ(error, EEXIST);
}

TEST(ListSubfolders, ListsFoldersAndLinksToFoldersButNoFilesOrHiddenFolders) {
    TempFolder folder;
    for (const char* name : {"aufnahmen", "Filme mit Leerzeichen", ".versteckt", "leer"}) {
        std::filesystem::create_directory(folder.File(name));
    }
    folder.Write("datei.ts", "x");
    folder.Write(".hidden-file", "x");
    std::filesystem::create_directory_symlink(folder.File("aufnahmen"), folder.File("verweis"));
    std::filesystem::create_symlink(folder.File("datei.ts"), folder.File("dateiverweis"));
    std::filesystem::create_symlink(folder.File("nirgends"), folder.File("kaputt"));

    EXPECT_THAT(ListSubfolders(folder.Path()).value(),
                UnorderedElementsAre("aufnahmen", "Filme mit Leerzeichen", "leer", "verweis"));
    EXPECT_THAT(ListSubfolders(folder.Path() + "/").value(),
                UnorderedElementsAre("aufnahmen", "Filme mit Leerzeichen", "leer", "verweis"));
    EXPECT_TRUE(ListSubfolders(folder.File("leer")).value().empty());
}

TEST(ListSubfolders, GivesNothingForAFolderThatCannotBeRead) {
    TempFolder folder;
    folder.Write("file", "x");
    EXPECT_EQ(ListSubfolders(folder.File("missing")), std::nullopt);
    EXPECT_EQ(ListSubfolders(folder.File("file")), std::nullopt);
    EXPECT_EQ(ListSubfolders(""), std::nullopt);
}

}  // namespace
}  // namespace olmira
