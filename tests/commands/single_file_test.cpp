// A file given by its own path: replaced through the same safe replacement as the set.
#include "commands/single_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "output/file_names.h"
#include "support/temp_folder.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

// Links planted at every name an older or careless writer might use for its temporary, and a
// hard link to the victim as the target itself: the victim keeps its bytes, the new file stands
// at its name, the other links stay.
TEST(SingleFile, PlantedLinksAreNeverWrittenThrough) {
    test::TempFolder dir;
    test::TempFolder elsewhere;
    const fs::path victim = elsewhere.path() / "victim";
    test::writeTextFile(victim, "precious\n");
    for (const std::string& name : std::vector<std::string>{
             "p.png.tmp", ".p.png.tmp", ".p.png.swp", "p.png~", ".p.png.tmp-0000000000000000",
             ".p.png.tmp-" + std::to_string(::getpid()) + "-0", ".p.png.old-0000000000000000"})
        fs::create_symlink(victim, dir.path() / name);
    fs::create_hard_link(victim, dir.path() / "p.png");
    test::FolderContents expected = test::folderContents(dir.path());
    expected["p.png"] = "picture";
    // A name of this program's own pattern that belongs to this user is a dead run's: it goes.
    expected.erase(".p.png.tmp-0000000000000000");

    ASSERT_TRUE(replaceSingleFile(dir.path() / "p.png", "picture").ok());
    EXPECT_EQ(test::readFileBytes(victim.string()), "precious\n");
    EXPECT_EQ(test::folderContents(dir.path()), expected);
}

// The temporaries of its name that a dead run left go; those of other names stay.
TEST(SingleFile, RemovesStaleTemporariesOfItsName) {
    test::TempFolder dir;
    const std::string other = helperName(HelperKind::temporary, "q.png", 1);
    test::writeTextFile(dir.path() / helperName(HelperKind::temporary, "p.png", 2), "half");
    test::writeTextFile(dir.path() / other, "someone's");
    ASSERT_TRUE(replaceSingleFile(dir.path() / "p.png", "picture").ok());
    EXPECT_EQ(test::folderContents(dir.path()),
              (test::FolderContents{{"p.png", "picture"}, {other, "someone's"}}));
}

// A name that is a folder keeps the real reason.
TEST(SingleFile, AFolderIsNoFile) {
    test::TempFolder dir;
    fs::create_directory(dir.path() / "sub");
    for (const char* name : {"sub", "sub/", "sub/.", "sub/.."}) {
        const CommandResult r = replaceSingleFile(dir.path() / name, "picture");
        EXPECT_EQ(r.status, CommandStatus::fileError) << name;
        EXPECT_TRUE(r.message.ends_with("kann nicht ersetzt werden: Is a directory")) << r.message;
    }
    EXPECT_EQ(test::folderContents(dir.path()), (test::FolderContents{{"sub", "<folder>"}}));
}

}  // namespace
}  // namespace kellvor
