#include <gtest/gtest.h>

#include "Q3.h"

TEST(Library, ReportsRelease16) {
  TQ3Uns32 release = 0;
  ASSERT_EQ(Q3GetReleaseVersion(&release), kQ3Success);
  EXPECT_EQ(release, 0x01608000u);
}
