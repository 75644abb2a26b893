#include "casefile/FileIO.h"

#include "../support/TempDir.h"

#include <atomic>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string oldContent = "first record\r\n";
const std::string record = std::string(3000, 'x') + "\r\n";

// Runs f while the kernel refuses to let any file grow beyond 1000 bytes: a
// real short write, as on a full disk, that holds for root as well.
template <class F> bool onAFullDisk(F f)
{
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool result = f();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}

TEST(FileIOAppend, AFailureHalfWayCutsTheFileBack)
{
    TempDir dir;
    std::string path = dir.file("study.zor");
    TempDir::write(path, oldContent);
    std::string error;
    EXPECT_FALSE(onAFullDisk([&] { return FileIO::appendWhole(path, record, &error); }));
    EXPECT_NE(error.find("study.zor"), std::string::npos) << error;
    EXPECT_EQ(TempDir::read(path), oldContent);
    EXPECT_FALSE(onAFullDisk([&] { return FileIO::appendWhole(dir.file("new.zor"), record); }));
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.zor"))) << "a file it created is removed";
}

// Writes the first chunk, then fails once another append is waiting for the
// report's lock (or, without a lock, has already finished).
std::string racePath;
std::atomic<bool> otherDone{false};
std::thread other;

bool otherWaitsForTheLock()
{
    struct stat st {};
    ::stat(racePath.c_str(), &st);
    std::ifstream locks("/proc/locks");
    std::string line;
    std::string inode = ":" + std::to_string(st.st_ino) + " ";
    while (std::getline(locks, line))
        if (line.find("->") != std::string::npos && line.find(inode) != std::string::npos)
            return true;
    return false;
}

ssize_t failWhileAnotherAppends(int fd, const void* data, size_t size)
{
    if (!other.joinable()) {
        other = std::thread([] { otherDone = FileIO::appendWhole(racePath, "other\r\n"); });
        while (!otherDone && !otherWaitsForTheLock())
            std::this_thread::yield();
    }
    if (::lseek(fd, 0, SEEK_END) == static_cast<off_t>(oldContent.size()))
        return ::write(fd, data, size < 100 ? size : 100);
    errno = ENOSPC;
    return -1;
}

TEST(FileIOAppend, AFailingWriterNeverTakesAwayAnotherWritersRecord)
{
    TempDir dir;
    racePath = dir.file("study.zor");
    TempDir::write(racePath, oldContent);
    EXPECT_FALSE(FileIO::appendWhole(racePath, record, nullptr, failWhileAnotherAppends));
    other.join();
    EXPECT_TRUE(otherDone);
    EXPECT_EQ(TempDir::read(racePath), oldContent + "other\r\n");
}

void sparse(const std::string& path, off_t size)
{
    TempDir::write(path, "");
    ASSERT_EQ(::truncate(path.c_str(), size), 0);
}

// Each refusal comes at once, without waiting or filling the memory.
TEST(FileIORead, OnlyARegularFileOfAtMostTheBoundIsRead)
{
    using Make = void (*)(const std::string& path);
    const std::pair<const char*, Make> refused[] = {
        {"pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"link to dev zero",
         [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); }},
        {"one byte over the bound",
         [](const std::string& p) { sparse(p, FileIO::kMaxReadBytes + 1); }}};
    TempDir dir;
    std::string bytes;
    for (auto [what, make] : refused) {
        const std::string path = dir.file(what);
        make(path);
        std::string error;
        EXPECT_EQ(FileIO::readWhole(path, bytes, &error), FileIO::ReadStatus::Failed) << what;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    sparse(dir.file("at the bound"), FileIO::kMaxReadBytes);
    EXPECT_EQ(FileIO::readWhole(dir.file("at the bound"), bytes), FileIO::ReadStatus::Ok);
    EXPECT_EQ(bytes.size(), FileIO::kMaxReadBytes);
}

TEST(FileIOReplace, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    std::string path = dir.file("case.bit");
    TempDir::write(path, std::string(5000, 'o'));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(FileIO::replaceWhole(path, "new"));
    EXPECT_EQ(TempDir::read(path), "new") << "nothing of a longer old file is left";
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640))
        << "the replacement keeps the permissions";

    std::string error;
    EXPECT_FALSE(
        onAFullDisk([&] { return FileIO::replaceWhole(path, std::string(5000, 'n'), &error); }));
    EXPECT_EQ(error.find("cannot write " + path + ": "), 0u)
        << "names the file, not the temporary one";
    EXPECT_EQ(TempDir::read(path), "new");
    using std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(directory_iterator(dir.path()), directory_iterator()), 1);
    EXPECT_FALSE(FileIO::replaceWhole(dir.file("no/case.bit"), "x"));
}

} // namespace
