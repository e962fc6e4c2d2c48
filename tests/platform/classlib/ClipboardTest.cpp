// The clipboard model.
#include <gtest/gtest.h>

#include <cstring>

#include "CClipboard.h"
#include "Memory.h"

namespace {

TEST(ClipboardTest, HoldsCopiesByTypeAndHandsOutCopies) {
  auto* clip = new CClipboard;
  clip->IClipboard(nullptr, false);
  Handle text = PortHandleFromBytes("hello", 5);
  clip->PutData(FourCC("TEXT"), text);
  PortFreeHandle(text);  // the clipboard kept its own copy
  EXPECT_EQ(clip->DataSize(FourCC("TEXT")), 5);
  EXPECT_EQ(clip->DataSize(FourCC("PICT")), 0);
  void* out = nullptr;
  ASSERT_TRUE(clip->GetData(FourCC("TEXT"), &out));
  Handle got = static_cast<Handle>(out);
  EXPECT_EQ(std::memcmp(*got, "hello", 5), 0);
  PortFreeHandle(got);
  EXPECT_FALSE(clip->GetData(FourCC("PICT"), &out));
  // Putting a type again replaces it; closing only hides the clipboard.
  Handle other = PortHandleFromBytes("bye", 3);
  clip->PutData(FourCC("TEXT"), other);
  PortFreeHandle(other);
  EXPECT_EQ(clip->DataSize(FourCC("TEXT")), 3);
  EXPECT_EQ(clip->HeldTypes().size(), 1u);
  EXPECT_TRUE(clip->Close(true));
  clip->EmptyScrap();
  EXPECT_TRUE(clip->HeldTypes().empty());
  clip->Dispose();
}

}  // namespace
