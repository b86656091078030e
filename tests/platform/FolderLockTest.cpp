// The folder a run writes its output into, one run at a time.
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FolderLock.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

TEST(FolderLock, RefusesWhatCannotBeMadeOrWritten) {
    TemporaryFolder folder;
    const std::string file = folder.write("file", "");
    for (const std::string& path : {file, file + "/frames", std::string("/proc/corvane/frames")}) {
        FolderLock lock;
        std::string error;
        EXPECT_EQ(lock.acquire(path, error), FolderLock::Outcome::UNUSABLE) << path;
        EXPECT_EQ(error,
                  path.rfind("/proc", 0) == 0 ? "No such file or directory" : "Not a directory")
            << path;
    }
}

TEST(FolderLock, OneProcessAtATimeAndNothingLeftBehind) {
    TemporaryFolder folder;
    const std::string frames = folder.path() + "/made/frames";
    int ready[2];
    int finish[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(finish), 0);
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        // Ends by itself should the test fail before it tells it to.
        alarm(10);
        close(finish[1]);
        FolderLock lock;
        std::string error;
        const bool locked = lock.acquire(frames, error) == FolderLock::Outcome::LOCKED;
        char byte = locked ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(finish[0], &byte, 1);
        _exit(0);
    }
    char locked = 0;
    ASSERT_EQ(::read(ready[0], &locked, 1), 1);
    ASSERT_EQ(locked, 1);

    FolderLock lock;
    std::string error;
    EXPECT_EQ(lock.acquire(frames, error), FolderLock::Outcome::IN_USE);
    EXPECT_EQ(error, "process " + std::to_string(other));

    // The other run ends without releasing: the system drops its lock, and the file it left
    // is taken over.
    close(finish[1]);
    waitpid(other, nullptr, 0);
    EXPECT_EQ(lock.acquire(frames, error), FolderLock::Outcome::LOCKED) << error;
    EXPECT_TRUE(fs::exists(frames + "/" + FolderLock::LOCK_FILE));
    lock.release();
    EXPECT_TRUE(fs::is_empty(frames));
    for (int end : {ready[0], ready[1], finish[0]})
        close(end);
}

} // namespace
} // namespace corvane
