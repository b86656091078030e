#include <gtest/gtest.h>

#include "platform/CurrentDirectory.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

TEST(CurrentDirectory, SwitchesAndRefusesAFolderThatIsNotThere) {
    testing::TemporaryFolder folder;
    const std::string before = CurrentDirectory::get();
    ASSERT_TRUE(CurrentDirectory::set(folder.path()));
    EXPECT_EQ(CurrentDirectory::get(), folder.path());
    EXPECT_FALSE(CurrentDirectory::set(folder.path() + "/missing"));
    EXPECT_EQ(CurrentDirectory::get(), folder.path());
    ASSERT_TRUE(CurrentDirectory::set(before));
}

} // namespace
} // namespace corvane
