#include "platform/paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, StemDirectoryAndName) {
    EXPECT_EQ(kw::StemOf("/opt/kw/KWConfig"), "/opt/kw/KWConfig.");
    EXPECT_EQ(kw::StemOf("/opt/kw/KWConfig.exe"), "/opt/kw/KWConfig.");
    EXPECT_EQ(kw::StemOf("/opt/k.w/KWConfig"), "/opt/k.w/KWConfig.");
    EXPECT_EQ(kw::DirectoryOf("/opt/kw/KWConfig"), "/opt/kw/");
    EXPECT_EQ(kw::ProgramNameOf("/opt/kw/KWConfig.exe"), "KWConfig");
    EXPECT_EQ(kw::ProgramNameOf("/opt/kw/KWConfig"), "KWConfig");
    EXPECT_FALSE(kw::ExecutablePath().empty());
}

}  // namespace
