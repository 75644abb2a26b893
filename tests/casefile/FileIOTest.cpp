#include "casefile/FileIO.h"

#include "TempDir.h"

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string oldContent = "first record\r\n";
const std::string record = std::string(3000, 'x') + "\r\n";

// Writes a little, then fails as a full disk does.
ssize_t failAfterSomeBytes(int fd, const void* data, size_t size)
{
    static int calls = 0;
    if (calls++ % 2 == 0)
        return ::write(fd, data, size < 100 ? size : 100);
    errno = ENOSPC;
    return -1;
}

TEST(FileIOAppend, AddsToTheEndAndCreatesAMissingFile)
{
    TempDir dir;
    std::string path = dir.file("study.zor");
    ASSERT_TRUE(FileIO::appendWhole(path, oldContent));
    ASSERT_TRUE(FileIO::appendWhole(path, record));
    EXPECT_EQ(TempDir::read(path), oldContent + record);
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
}

TEST(FileIOAppend, AFailedFirstRecordLeavesNoFile)
{
    TempDir dir;
    std::string path = dir.file("new.zor");
    EXPECT_FALSE(FileIO::appendWhole(path, record, nullptr, failAfterSomeBytes));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(FileIOAppend, AFileSizeLimitCutsTheFileBack)
{
    // A real short write from the kernel: the size limit stops the append
    // part-way, as a full disk would, and holds for root as well.
    TempDir dir;
    std::string path = dir.file("study.zor");
    TempDir::write(path, oldContent);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = oldContent.size() + 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok = FileIO::appendWhole(path, record);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TempDir::read(path), oldContent);
}

TEST(FileIOAppend, AFullTmpfsCutsTheFileBack)
{
    TempDir dir;
    std::string mountPoint = dir.file("small");
    std::filesystem::create_directory(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=8k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    std::string path = mountPoint + "/study.zor";
    TempDir::write(path, oldContent);
    bool ok = FileIO::appendWhole(path, std::string(64 * 1024, 'x'));
    std::string after = TempDir::read(path);
    ::umount(mountPoint.c_str());
    EXPECT_FALSE(ok);
    EXPECT_EQ(after, oldContent);
}

TEST(FileIOReplace, ReplacesWholeAndReportsAMissingFolder)
{
    TempDir dir;
    std::string path = dir.file("case.bit");
    TempDir::write(path, std::string(5000, 'o'));
    ASSERT_TRUE(FileIO::replaceWhole(path, "new"));
    EXPECT_EQ(TempDir::read(path), "new") << "nothing of a longer old file is left";
    std::string error;
    EXPECT_FALSE(FileIO::replaceWhole(dir.file("no/case.bit"), "x", &error));
    EXPECT_FALSE(error.empty());
}

TEST(FileIOReplace, LeavesAReadOnlyFileAlone)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    TempDir dir;
    std::string path = dir.file("case.bit");
    TempDir::write(path, "locked");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(FileIO::replaceWhole(path, "new"));
    EXPECT_EQ(TempDir::read(path), "locked");
}

} // namespace
