// An output put in place of its target: a new file gets the permissions any
// new file would, one that replaces a file keeps that file's, and nothing
// that is not a regular file is replaced.

#include "formats/safe_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

namespace prochnar {
namespace {

unsigned modeOf(const std::filesystem::path& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 01000U;
}

void write(const std::filesystem::path& target, const std::string& text)
{
    SafeOutput out(target);
    out.stream() << text;
    out.commit();
}

TEST(SafeOutput, NewFileGetsTheUmasksPermissionsAReplacedOneItsOwnAndAPipeIsNeverReplaced)
{
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "safe_output_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = folder / "out.csv";
    const mode_t mask = ::umask(0027);
    write(target, "first\n");
    const unsigned created = modeOf(target);
    ::chmod(target.c_str(), 0604);
    write(target, "second\n");
    ::umask(mask);
    EXPECT_EQ(created, 0640U);
    EXPECT_EQ(modeOf(target), 0604U);
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "second\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1); // no temporary file left

    // A pipe in the target's place, even one that appeared after the output
    // was begun, stays as it was (a rename would replace it).
    SafeOutput late(target);
    std::filesystem::remove(target);
    ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
    late.stream() << "third\n";
    EXPECT_THROW(late.commit(), OutputError);
    EXPECT_TRUE(std::filesystem::is_fifo(target));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace prochnar
