#include "platform/bundle_strings.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/services.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("orvane-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    fs::path folder;
};

TEST_F(FilesTest, ReadsEveryByte)
{
    std::string bytes("a\r\n\0b\xff", 6);
    std::ofstream(Path("f"), std::ios::binary) << bytes;
    auto in = OpenForReading(Path("f"));
    ASSERT_TRUE(in);
    std::ostringstream got;
    got << in->rdbuf();
    EXPECT_EQ(got.str(), bytes);
}

TEST_F(FilesTest, ALargeFileTellsItsSizeAndIsReadWholeAfterSmallReads)
{
    std::string bytes(200003, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    std::ofstream(Path("f"), std::ios::binary) << bytes;
    auto in = OpenForReading(Path("f"));
    ASSERT_TRUE(in);
    EXPECT_EQ(in->rdbuf()->in_avail(), static_cast<std::streamsize>(bytes.size()));

    std::string got(3, '\0');
    in->read(got.data(), 3);
    std::string rest(bytes.size(), '\0');
    in->read(rest.data(), static_cast<std::streamsize>(rest.size()));
    EXPECT_EQ(in->gcount(), static_cast<std::streamsize>(bytes.size() - 3));
    EXPECT_TRUE(in->eof());
    got += rest.substr(0, bytes.size() - 3);
    EXPECT_EQ(got, bytes);
}

TEST_F(FilesTest, MissingFileAndFolderCannotBeRead)
{
    std::string error;
    EXPECT_EQ(OpenForReading(Path("missing"), &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(OpenForReading(folder.string(), &error), nullptr);
}

TEST_F(FilesTest, PipesAndDevicesAreNotOpened)
{
    // Opening a pipe would wait for a writer; a device may never end.
    const std::string pipe = Path("pipe.html");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string error;
    EXPECT_EQ(OpenForReading(pipe, &error), nullptr);
    EXPECT_EQ(error, "is not a regular file");
    EXPECT_EQ(OpenForReading("/dev/zero", &error), nullptr);
    // A link to a regular file is read as the file.
    std::ofstream(Path("target.html"), std::ios::binary) << "<p>";
    fs::create_symlink(Path("target.html"), Path("link.html"));
    EXPECT_NE(OpenForReading(Path("link.html")), nullptr);
}

TEST_F(FilesTest, AtomicWriteReplacesTheTargetOnlyWhenComplete)
{
    std::string target = Path("page.html");
    std::ofstream(target, std::ios::binary) << "old";
    EXPECT_FALSE(WriteFileAtomically(target, [](std::ostream& out) {
        out << "half";
        return false;
    }));
    EXPECT_EQ(Read(target), "old");
    EXPECT_TRUE(WriteFileAtomically(target, [](std::ostream& out) {
        out << std::string(200000, 'n');
        return true;
    }));
    EXPECT_EQ(Read(target), std::string(200000, 'n'));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// What replaces a file keeps what the file was but for its bytes: who may
// read or run it, whose it is, and the link through which it was named.
TEST_F(FilesTest, AtomicWriteKeepsTheReplacedFilesPermissionsOwnerAndLinks)
{
    auto write = [](const std::string& path) {
        return WriteFileAtomically(path, [](std::ostream& out) { return static_cast<bool>(out << "new"); });
    };
    std::ofstream(Path("private.html")) << "old";
    fs::permissions(Path("private.html"), fs::perms(0640));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(Path("private.html").c_str(), 4321, 4322), 0);
    }
    std::ofstream(Path("include.shtml")) << "old";
    fs::permissions(Path("include.shtml"), fs::perms(02755));
    fs::create_directories(folder / "elsewhere");
    std::ofstream(Path("elsewhere/real.html")) << "old";
    fs::permissions(Path("elsewhere/real.html"), fs::perms(0600));
    fs::create_symlink("elsewhere/real.html", Path("near.html"));
    fs::create_symlink(Path("near.html"), Path("far.html"));

    ASSERT_TRUE(write(Path("private.html")));
    EXPECT_EQ(Read(Path("private.html")), "new");
    EXPECT_EQ(fs::status(Path("private.html")).permissions(), fs::perms(0640));
    struct stat owner {};
    ASSERT_EQ(::stat(Path("private.html").c_str(), &owner), 0);
    if (root) {
        EXPECT_EQ(owner.st_uid, 4321u);
        EXPECT_EQ(owner.st_gid, 4322u);
    } else {
        EXPECT_EQ(owner.st_uid, ::geteuid());
    }
    ASSERT_TRUE(write(Path("include.shtml")));
    EXPECT_EQ(fs::status(Path("include.shtml")).permissions(), fs::perms(02755));
    // Through two links: both stay links, the file at their end is written.
    ASSERT_TRUE(write(Path("far.html")));
    EXPECT_TRUE(fs::is_symlink(Path("far.html")));
    EXPECT_TRUE(fs::is_symlink(Path("near.html")));
    EXPECT_EQ(Read(Path("elsewhere/real.html")), "new");
    EXPECT_EQ(fs::status(Path("elsewhere/real.html")).permissions(), fs::perms(0600));
    // A link that leads to no file yet makes the file it names.
    fs::create_symlink("elsewhere/new.html", Path("ahead.html"));
    ASSERT_TRUE(write(Path("ahead.html")));
    EXPECT_TRUE(fs::is_symlink(Path("ahead.html")));
    EXPECT_EQ(Read(Path("elsewhere/new.html")), "new");
    // Nothing is left over beside any of them.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 6);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "elsewhere"), fs::directory_iterator()), 2);
}

// A private page's new bytes are never readable by others, not even while
// they are written; its extended attributes go with it where the file
// system keeps them.
TEST_F(FilesTest, AtomicWriteIsPrivateFromTheStartForAPrivateFile)
{
    const std::string target = Path("private.html");
    std::ofstream(target, std::ios::binary) << "old";
    fs::permissions(target, fs::perms(0600));
    const bool tagged = ::setxattr(target.c_str(), "user.orvane-test", "kept", 4, 0) == 0;
    fs::perms whileWritten = fs::perms::unknown;
    ASSERT_TRUE(WriteFileAtomically(target, [&](std::ostream& out) {
        whileWritten = fs::status(TemporaryPathFor(target)).permissions();
        return static_cast<bool>(out << "new");
    }));
    EXPECT_EQ(whileWritten & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0600));
    if (tagged) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(target.c_str(), "user.orvane-test", value, sizeof value), 4);
        EXPECT_EQ(std::string(value), "kept");
    }
}

// A copy or a new file under a taken name fails and leaves what has the name
// as it is: two programs after one name never remove each other's file.
TEST_F(FilesTest, NewFilesAreMadeOnlyUnderNamesNobodyHas)
{
    std::ofstream(Path("page.html"), std::ios::binary) << "page";
    fs::permissions(Path("page.html"), fs::perms(0600));
    std::ofstream(Path("taken"), std::ios::binary) << "theirs";
    std::string error;
    EXPECT_FALSE(CopyToNewFile(Path("page.html"), Path("taken"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(Path("taken")), "theirs");
    EXPECT_FALSE(CreateNewFile(Path("taken"), Path("page.html")));
    EXPECT_EQ(Read(Path("taken")), "theirs");

    ASSERT_TRUE(CopyToNewFile(Path("page.html"), Path("copy")));
    EXPECT_EQ(Read(Path("copy")), "page");
    EXPECT_EQ(fs::status(Path("copy")).permissions(), fs::perms(0600));
    EXPECT_EQ(fs::last_write_time(Path("copy")), fs::last_write_time(Path("page.html")));
    ASSERT_TRUE(CreateNewFile(Path("new"), Path("page.html")));
    EXPECT_EQ(Read(Path("new")), "");
    EXPECT_EQ(fs::status(Path("new")).permissions(), fs::perms(0600));
    // A link under the name counts as taken, even one that leads nowhere.
    fs::create_symlink(Path("nowhere"), Path("dangling"));
    EXPECT_FALSE(CopyToNewFile(Path("page.html"), Path("dangling")));
    EXPECT_FALSE(fs::exists(Path("nowhere")));
}

// Whatever stops the write (here a folder where its temporary file goes,
// which stops root as well as anyone), the old file stays whole.
TEST_F(FilesTest, AnAtomicWriteThatCannotBeMadeLeavesTheOldFileWhole)
{
    const std::string target = Path("page.html");
    std::ofstream(target, std::ios::binary) << "old";
    ASSERT_TRUE(fs::create_directory(TemporaryPathFor(target)));
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target, [](std::ostream& out) { return static_cast<bool>(out << "new"); }, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(target), "old");
    EXPECT_TRUE(fs::is_directory(TemporaryPathFor(target)));
    // A temporary file an earlier write left behind is no hindrance.
    fs::remove(TemporaryPathFor(target));
    std::ofstream(TemporaryPathFor(target)) << "left over";
    EXPECT_TRUE(WriteFileAtomically(target, [](std::ostream& out) { return static_cast<bool>(out << "new"); }));
    EXPECT_EQ(Read(target), "new");
    EXPECT_FALSE(fs::exists(TemporaryPathFor(target)));
}

// A file name is the file system's bytes: one that is no UTF-8 opens as named.
TEST_F(FilesTest, AFileWhoseNameIsNoUtf8IsWrittenAndReadUnderThatName)
{
    const std::string name = Path("caf\xe9 \xff.html");
    ASSERT_TRUE(WriteFileAtomically(name, [](std::ostream& out) { return static_cast<bool>(out << "<p>"); }));
    EXPECT_EQ(Read(name), "<p>");
    EXPECT_TRUE(FileExists(name));
    auto in = OpenForReading(name);
    ASSERT_TRUE(in);
    std::ostringstream got;
    got << in->rdbuf();
    EXPECT_EQ(got.str(), "<p>");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, AtomicWriteIntoAnImpossibleFolderFails)
{
    std::ofstream(Path("file")) << "x";
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(Path("file") + "/page.html", [](std::ostream&) { return true; }, &error));
    EXPECT_FALSE(error.empty());
}

TEST(Paths, UserDataFolderFollowsOrvaneHome)
{
    const char* home = std::getenv("ORVANE_HOME");
    ASSERT_NE(home, nullptr) << "tests run with ORVANE_HOME set";
    EXPECT_EQ(fs::weakly_canonical(UserDataDirectory()), fs::weakly_canonical(home));
    EXPECT_TRUE(fs::is_directory(home));
}

TEST(Paths, ResourceBundleIsFoundBesideTheLibraries)
{
    EXPECT_FALSE(ModuleDirectory().empty());
    EXPECT_FALSE(FindDataFile("OrvaneResources.rcc").empty());
    EXPECT_TRUE(FindDataFile("no-such-file.rcc").empty());
}

TEST(Paths, BundleStringsAreInstalledAndAMissingBundleLeavesThemEmpty)
{
    EXPECT_FALSE(InstallBundleStrings("no-such-bundle.rcc"));
    EXPECT_EQ(Strings().Get(111), "");
    ASSERT_TRUE(InstallBundleStrings("OrvaneResources.rcc"));
    EXPECT_EQ(Strings().Get(111), "Orvane");
    EXPECT_NE(Strings().Get(150).find("%1"), std::string::npos);
    SetStrings(nullptr);
}

} // namespace
} // namespace orvane::platform
