// Two names of one file, however they lead to it, are one file; two files
// are two, whether or not they exist yet.
#include "files/SameFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(SameFile, NamesThatLeadToOneFile) {
    TempFolder folder;
    folder.WriteText("a.bin", "a");
    folder.WriteText("b.bin", "b");
    std::filesystem::create_directory(folder.path() / "sub");
    std::filesystem::create_hard_link(folder / "a.bin", folder / "hard.bin");
    std::filesystem::create_symlink("a.bin", folder / "link.bin");
    std::filesystem::create_symlink("gone.bin", folder / "dangling.bin");
    std::filesystem::create_symlink("loop.bin", folder / "loop.bin");
    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {folder / "a.bin", folder / "a.bin", true},
        {folder / "a.bin", folder / "sub/../a.bin", true},
        {folder / "a.bin", folder / "hard.bin", true},
        {folder / "a.bin", folder / "link.bin", true},
        {folder / "a.bin", folder / "b.bin", false},
        {folder / "new.bin", folder / "sub/../new.bin", true},
        {folder / "new.bin", folder / "other.bin", false},
        {folder / "a.bin", folder / "a.bin.new", false},
        {folder / "dangling.bin", folder / "gone.bin", true},
        {folder / "dangling.bin", folder / "sub/gone.bin", false},
        {folder / "loop.bin", folder / "loop.bin.new", false},
        {folder / "new.bin", "new.bin", true},  // relative to the folder the test runs in
    };
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    for (const Case& c : cases) {
        EXPECT_EQ(SameFile(c.a, c.b), c.same) << c.a << " and " << c.b;
        EXPECT_EQ(SameFile(c.b, c.a), c.same) << c.b << " and " << c.a;
    }
    std::filesystem::current_path(was);
}

}  // namespace
