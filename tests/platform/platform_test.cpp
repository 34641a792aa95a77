#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support.h"

namespace {

TEST(Platform, LibraryDirectoryHoldsTheSupportFolder) {
    KQWCHAR dir[2048];
    const size_t n = gx::LibraryDirectory(dir, 2048);
    ASSERT_GT(n, 0u);
    EXPECT_NE(dir[n - 1], gx::kPathSeparator);
    KQWCHAR small[4];
    EXPECT_EQ(gx::LibraryDirectory(small, 4), 3u); // cut to fit
}

TEST(Platform, OpenSharedReadsExistingFilesOnly) {
    const char* pName = "geoxform_platform_test.bin";
    std::ofstream(pName) << "abc";
    std::FILE* pFile = gx::OpenSharedDenyReadWrite(Kq(pName).c_str());
    ASSERT_NE(pFile, nullptr);
    char text[4] = {};
    EXPECT_EQ(std::fread(text, 1, 3, pFile), 3u);
    std::fclose(pFile);
    std::remove(pName);
    EXPECT_EQ(gx::OpenSharedDenyReadWrite(Kq("no-such-file.bin").c_str()), nullptr);
}

} // namespace
