#include "casefile/FileIO.h"

#include "../support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string oldContent = "first record\r\n";
const std::string record = std::string(3000, 'x') + "\r\n";

// Runs f while the kernel refuses to let any file grow beyond limit bytes: a
// real short write, as on a full disk, that holds for root as well.
template <class F> bool underSizeLimit(rlim_t limit, F f)
{
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = limit;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool result = f();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}

// Writes a little, then fails as a full disk does.
ssize_t failAfterSomeBytes(int fd, const void* data, size_t size)
{
    static int calls = 0;
    if (calls++ % 2 == 0)
        return ::write(fd, data, size < 100 ? size : 100);
    errno = ENOSPC;
    return -1;
}

TEST(FileIOAppend, AFailureHalfWayCutsTheFileBack)
{
    TempDir dir;
    std::string path = dir.file("study.zor");
    TempDir::write(path, oldContent);
    std::string error;
    EXPECT_FALSE(FileIO::appendWhole(path, record, &error, failAfterSomeBytes));
    EXPECT_NE(error.find("study.zor"), std::string::npos) << error;
    EXPECT_EQ(TempDir::read(path), oldContent);
    EXPECT_FALSE(underSizeLimit(1000, [&] { return FileIO::appendWhole(path, record); }));
    EXPECT_EQ(TempDir::read(path), oldContent);

    EXPECT_FALSE(FileIO::appendWhole(dir.file("new.zor"), record, nullptr, failAfterSomeBytes));
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.zor"))) << "a file it created is removed";
    ASSERT_TRUE(FileIO::appendWhole(path, record));
    EXPECT_EQ(TempDir::read(path), oldContent + record);
}

TEST(FileIOReplace, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    std::string path = dir.file("case.bit");
    TempDir::write(path, std::string(5000, 'o'));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(FileIO::replaceWhole(path, "new"));
    EXPECT_EQ(TempDir::read(path), "new") << "nothing of a longer old file is left";
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replacement keeps the permissions";

    std::string error;
    EXPECT_FALSE(underSizeLimit(
        1000, [&] { return FileIO::replaceWhole(path, std::string(5000, 'n'), &error); }));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(TempDir::read(path), "new");
    using std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(directory_iterator(dir.path()), directory_iterator()), 1);
    EXPECT_FALSE(FileIO::replaceWhole(dir.file("no/case.bit"), "x"));
}

} // namespace
