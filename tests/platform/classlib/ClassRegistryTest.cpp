// The run-time class registry and the failure helpers.
#include <gtest/gtest.h>

#include "CArray.h"
#include "CException.h"
#include "CMouseTask.h"
#include "Memory.h"
#include "ResourceFailures.h"
#include "Resources.h"

namespace {

class SpecialException : public CException {
  VL_REGISTERED_CLASS(SpecialException, CException)

 public:
  using CException::CException;
  long extra = 0;
};

TEST(ClassRegistryTest, ClassesRecordNameSizeAndBase) {
  const CClassInfo* info = CMouseTask::ClassInfo();
  ASSERT_NE(info, nullptr);
  EXPECT_STREQ(info->name, "CMouseTask");
  EXPECT_EQ(info->size, long(sizeof(CMouseTask)));
  EXPECT_EQ(FindClassInfo("CMouseTask"), info);
  EXPECT_TRUE(ClassInfoIsA(info, CTask::ClassInfo()));
  EXPECT_TRUE(ClassInfoIsA(info, CCollaborator::ClassInfo()));
  EXPECT_FALSE(ClassInfoIsA(CTask::ClassInfo(), info));
  EXPECT_EQ(FindClassInfo("NoSuchClass"), nullptr);
  long count = CountClassInfos();
  EXPECT_EQ(RegisterClassInfo("CMouseTask", 1, nullptr), info);  // again: the first record
  EXPECT_EQ(CountClassInfos(), count);
  EXPECT_EQ(info->size, long(sizeof(CMouseTask)));
}

TEST(ClassRegistryTest, ExactClassTellsExceptionsApart) {
  SpecialException special(-43, 17);
  const CException& asBase = special;
  EXPECT_EQ(asBase.BedVirtualGetClassInfo(), SpecialException::ClassInfo());
  EXPECT_NE(asBase.BedVirtualGetClassInfo(), CException::ClassInfo());
  EXPECT_EQ(SpecialException::ClassInfo()->size, long(sizeof(SpecialException)));
  CException plain(-36, 0);
  EXPECT_EQ(plain.BedVirtualGetClassInfo(), CException::ClassInfo());
}

template <class F>
OSErr Thrown(F f) {
  try {
    f();
  } catch (const CException& e) {
    return e.GetError();
  }
  return noErr;
}

TEST(ClassRegistryTest, FailureHelpersRaiseAndRecordTheError) {
  gLastError = noErr;
  EXPECT_EQ(Thrown([] { FailNIL(nullptr); }), memFullErr);
  EXPECT_EQ(gLastError, memFullErr);
  int x = 0;
  EXPECT_EQ(Thrown([&] { FailNIL(&x); }), noErr);
  EXPECT_EQ(Thrown([] { FailOSErr(-36); }), -36);
  EXPECT_EQ(Thrown([] { FailIfError16(-39); }), -39);
  EXPECT_EQ(Thrown([] { FailOSErr(noErr); }), noErr);
  try {
    Failure(-34, 17);
  } catch (const CException& e) {
    EXPECT_EQ(e.GetMessage(), 17);
  }
  // The memory and resource errors of the last call.
  Handle h = PortAllocHandle(kMaxBlockSize + 1);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(Thrown([] { FailMemError(); }), memFullErr);
  vlres::ResetResourceChain();
  Handle r = PortLoadResource(FourCC("ALRT"), 31000);
  EXPECT_EQ(Thrown([&] { FailNILRes(r); }), resNotFound);
  EXPECT_EQ(Thrown([] { FailResError(); }), resNotFound);
}

}  // namespace
