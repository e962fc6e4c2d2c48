// Every dialog and alert of the program's resources, laid out as the screen draws them: no two
// items overlap (but the outline a user item draws around a button), every item lies within its
// window, an alert's items keep clear of its icon, and no text is wider or taller than its item.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "Alerts.h"
#include "AppResources.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "TextEdit.h"
#include "UiInternal.h"

namespace {

// Room a control's frame takes besides its title: a button's rounded ends, a check box or radio
// button's box and the gap after it.
constexpr SInt16 kButtonMargin = 12;
constexpr SInt16 kCheckMargin = 18;

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Contains(const Rect& outer, const Rect& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Show(const Rect& r) {
  std::ostringstream out;
  out << r.top << " " << r.left << " " << r.bottom << " " << r.right;
  return out.str();
}

UInt8 Kind(const vlres::DialogItem& item) { return UInt8(item.kind & ~vlres::kItemDisableBit); }

// What is wrong with one window's items, one line each.
std::vector<std::string> LayoutProblems(const Rect& bounds, const std::vector<vlres::DialogItem>& items, bool alert) {
  std::vector<std::string> problems;
  const Rect inside{0, 0, SInt16(bounds.bottom - bounds.top), SInt16(bounds.right - bounds.left)};
  for (std::size_t i = 0; i < items.size(); ++i) {
    const vlres::DialogItem& item = items[i];
    const std::string name = "item " + std::to_string(i + 1) + " (" + Show(item.bounds) + ")";
    if (!Contains(inside, item.bounds)) problems.push_back(name + " reaches outside the window");
    const bool ownIcon = Kind(item) == vlres::kIconItem && item.bounds == vlui::kAlertIconBounds;
    if (alert && !ownIcon && Overlap(item.bounds, vlui::kAlertIconBounds))
      problems.push_back(name + " lies under the icon");
    for (std::size_t j = i + 1; j < items.size(); ++j) {
      const vlres::DialogItem& other = items[j];
      if (!Overlap(item.bounds, other.bounds)) continue;
      // A user item may frame a button (the default button's outline).
      bool outline = (Kind(item) == vlres::kUserItem && Contains(item.bounds, other.bounds)) ||
                     (Kind(other) == vlres::kUserItem && Contains(other.bounds, item.bounds)) ||
                     // Two controls in one place are shown in turn (pop-ups of which one applies).
                     (Kind(item) == vlres::kControlItem && Kind(other) == vlres::kControlItem &&
                      item.bounds == other.bounds);
      if (!outline) problems.push_back(name + " overlaps item " + std::to_string(j + 1));
    }
    const SInt16 width = SInt16(item.bounds.right - item.bounds.left);
    const SInt16 textWidth = vlui::internal::TextWidth(item.text);
    switch (Kind(item)) {
      case vlres::kButtonItem:
        if (textWidth + kButtonMargin > width) problems.push_back(name + " is too narrow for \"" + item.text + "\"");
        break;
      case vlres::kCheckBoxItem:
      case vlres::kRadioButtonItem:
        if (textWidth + kCheckMargin > width) problems.push_back(name + " is too narrow for \"" + item.text + "\"");
        break;
      case vlres::kStaticTextItem: {
        // Laid out as the screen lays it out: wrapped at the item's width.
        Rect box = item.bounds;
        TEHandle te = PortTENew(&box, &box);
        PortTESetText(item.text.data(), SInt32(item.text.size()), te);
        const int height = PortTENumberOfLines(te) * (*te)->lineHeight;
        PortTEDispose(te);
        for (std::istringstream words(item.text); words;) {
          std::string word;
          words >> word;
          if (vlui::internal::TextWidth(word) > width) problems.push_back(name + " is narrower than \"" + word + "\"");
        }
        if (height > item.bounds.bottom - item.bounds.top)
          problems.push_back(name + " is too low for its text (" + std::to_string(height) + " pixels)");
        break;
      }
      default:
        break;
    }
  }
  return problems;
}

class ResourceLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlui::InitScreen();
    PortSetPort(vlui::ScreenPort());
    vlui::internal::UseFont(vlui::internal::kSystemSize);
  }
  void TearDown() override { vlui::ShutdownScreen(); }

  // Checks every resource of the type; answers how many were checked.
  static int CheckAll(ResType type) {
    const bool alert = type == FourCC("ALRT");
    int checked = 0;
    for (SInt16 index = 1; index <= PortCountResources(type); ++index) {
      Handle h = PortGetIndResource(type, index);
      SInt16 id = 0;
      ResType found = 0;
      PortGetResInfo(h, &id, &found, nullptr);
      Rect bounds;
      SInt16 listId = 0;
      vlres::AlertTemplate alertTemplate;
      vlres::DialogTemplate dialogTemplate;
      if (alert ? !vlres::ParseAlert(h, &alertTemplate) : !vlres::ParseDialog(h, &dialogTemplate)) {
        ADD_FAILURE() << "resource " << id << " cannot be read";
        continue;
      }
      bounds = alert ? alertTemplate.bounds : dialogTemplate.bounds;
      listId = alert ? alertTemplate.itemListId : dialogTemplate.itemListId;
      std::vector<vlres::DialogItem> items;
      if (!vlres::ParseItemList(PortLoadResource(FourCC("DITL"), listId), &items)) {
        ADD_FAILURE() << "the items of " << id << " cannot be read";
        continue;
      }
      for (const std::string& problem : LayoutProblems(bounds, items, alert))
        ADD_FAILURE() << (alert ? "alert " : "dialog ") << id << ": " << problem;
      ++checked;
    }
    return checked;
  }
};

TEST_F(ResourceLayout, EveryAlertFitsItsTextsAndKeepsClearOfItsIcon) { EXPECT_GT(CheckAll(FourCC("ALRT")), 20); }

// The information alert informs: it shows the note icon, not its kind's stop icon.
TEST_F(ResourceLayout, TheInformationAlertShowsTheNoteIcon) {
  vlres::AlertTemplate templ;
  ASSERT_TRUE(vlres::ParseAlert(PortLoadResource(FourCC("ALRT"), 1008), &templ));
  std::vector<vlres::DialogItem> items;
  ASSERT_TRUE(vlres::ParseItemList(PortLoadResource(FourCC("DITL"), templ.itemListId), &items));
  auto icon =
      std::find_if(items.begin(), items.end(), [](const vlres::DialogItem& i) { return Kind(i) == vlres::kIconItem; });
  ASSERT_NE(icon, items.end());
  EXPECT_EQ(icon->resourceId, vlui::kNoteIcon);
}

TEST_F(ResourceLayout, EveryDialogFitsItsTexts) { EXPECT_GT(CheckAll(FourCC("DLOG")), 4); }

}  // namespace
