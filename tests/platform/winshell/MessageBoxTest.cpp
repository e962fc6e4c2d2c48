#include <gtest/gtest.h>

#include "AlertSink.h"
#include "MessageBox.h"
#include "ModulePath.h"
#include "Folders.h"

TEST(WinMessageBox, AnswersBecomeButtonIds) {
  struct Case {
    UINT type;
    int answer;
    int expected;
  };
  const Case cases[] = {
      {MB_OK | MB_ICONINFORMATION, 1, IDOK},
      {MB_OKCANCEL, 1, IDOK},
      {MB_OKCANCEL, 2, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, 1, IDYES},
      {MB_YESNO, 2, IDNO},
      {MB_YESNOCANCEL, 2, IDNO},
      {MB_YESNOCANCEL, 3, IDCANCEL},
      {MB_OKCANCEL, 0, IDCANCEL},  // no such button: Cancel
      {MB_YESNO, 5, IDYES},        // no such button and no Cancel: the first
      {MB_ICONHAND, 3, IDOK},
  };
  for (const Case& c : cases) {
    int answer = c.answer;
    auto old = vlalert::SetAnswerer([answer](const vlalert::Record&) { return answer; });
    EXPECT_EQ(MessageBoxA(nullptr, "text", "title", c.type), c.expected) << c.type << " " << c.answer;
    vlalert::SetAnswerer(old);
  }
}

TEST(WinMessageBox, TheSinkSeesKindTitleAndText) {
  vlalert::ClearLog();
  EXPECT_EQ(MessageBoxA(nullptr, "VL Exception in File: Caf\x8E.cpp", nullptr, MB_YESNO | MB_ICONHAND), IDYES);
  ASSERT_EQ(vlalert::Log().size(), 1u);
  const vlalert::Record& r = vlalert::Log().back();
  EXPECT_EQ(r.kind, "messagebox");
  EXPECT_EQ(r.title, "Error");
  EXPECT_EQ(r.texts, std::vector<std::string>{"VL Exception in File: Caf\xC3\xA9.cpp"});
  EXPECT_EQ(UINT(r.id), MB_YESNO | MB_ICONHAND);
  EXPECT_EQ(r.answer, 1);
  vlalert::ClearLog();
}

TEST(WinModulePath, TheProgramSitsInItsDataFolder) {
  char buf[4096];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  EXPECT_EQ(std::string(buf, n), vlfiles::ProgramPath());
  char small[5];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 5u);
  EXPECT_EQ(std::string(small), vlfiles::ProgramPath().substr(0, 4));
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(buf), buf, sizeof buf), 0u);
}
