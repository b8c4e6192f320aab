#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "maker/window_layout.h"
#include "tests/maker_window_expected.h"

namespace kelmo {
namespace {

using testing_support::kExpectedControl;
using testing_support::PixelEdges;

std::wstring NameAndIndex(const ControlRow& row) {
  std::wstring name(row.name);
  if (row.group != ControlGroup::None) name += L" " + std::to_wstring(row.index);
  return name;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

void ExpectEdges(const PixelRect& actual, const PixelEdges& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right(), expected.right);
  EXPECT_EQ(actual.bottom(), expected.bottom);
}

TEST(MakerWindowLayoutTest, GroupsHoldEachIndexOnceAndOptionsBelongToFramesBeforeThem) {
  const std::map<ControlGroup, int> sizes = {{ControlGroup::KelmoSet, 2},
                                             {ControlGroup::TimingSet, 4},
                                             {ControlGroup::SizeSet, 6},
                                             {ControlGroup::Cmd, 2},
                                             {ControlGroup::ListButtons, 5}};
  for (const auto& [group, size] : sizes) {
    for (int index = 0; index < size; ++index) {
      EXPECT_GE(FindControl(group, index), 0)
          << "group " << static_cast<int>(group) << " index " << index;
    }
    EXPECT_EQ(FindControl(group, size), -1);
  }
  for (std::size_t i = 0; i < kMakerControlCount; ++i) {
    const ControlRow& row = MakerControls()[i];
    EXPECT_EQ(row.kind == ControlKind::Option, row.frame >= 0) << Narrow(NameAndIndex(row));
    if (row.frame < 0) continue;
    const auto frame = static_cast<std::size_t>(row.frame);
    EXPECT_EQ(MakerControls()[frame].kind, ControlKind::Frame);
    EXPECT_LT(frame, i) << "an option comes after its frame in tab order";
  }
}

TEST(MakerWindowLayoutTest, CaptionsAndPixelsAt96And120DpiAreTheHandWorkedOnes) {
  EXPECT_EQ(ClientPixelRect(96, 96).width, testing_support::kClientWidthAt96);
  EXPECT_EQ(ClientPixelRect(96, 96).height, testing_support::kClientHeightAt96);
  EXPECT_EQ(ClientPixelRect(120, 120).width, testing_support::kClientWidthAt120);
  EXPECT_EQ(ClientPixelRect(120, 120).height, testing_support::kClientHeightAt120);
  for (std::size_t i = 0; i < kMakerControlCount; ++i) {
    const auto& expected = kExpectedControl[i];
    SCOPED_TRACE("tab " + std::to_string(i) + " " + Narrow(expected.name));
    EXPECT_EQ(NameAndIndex(MakerControls()[i]), expected.name) << "tab order";
    EXPECT_EQ(MakerControls()[i].caption, expected.caption);
    ExpectEdges(ControlPixelRect(i, 96, 96), expected.at96);
    ExpectEdges(ControlPixelRect(i, 120, 120), expected.at120);
  }
}

// Absolute twips of a control: at 120 dpi a pixel is exactly 12 twips.
PixelEdges TwipsOf(std::size_t i) {
  const PixelEdges& px = kExpectedControl[i].at120;
  return {px.left * 12, px.top * 12, px.right * 12, px.bottom * 12};
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

bool Overlap(const PixelEdges& a, const PixelEdges& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// At any DPI every edge is the nearest pixel to its exact place, so the
// layout keeps the table's proportions within half a pixel, and the
// controls that do not overlap in twips do not overlap in pixels (the label's
// last 12 twips reach into the text box in the table itself).
TEST(MakerWindowLayoutTest, KeepsProportionsAtOtherDpis) {
  for (const int dpi : {72, 144, 192}) {
    const PixelRect client = ClientPixelRect(dpi, dpi);
    EXPECT_LE(std::abs(client.width * 1440 - kMakerClientWidthTwips * dpi), 720) << dpi;
    EXPECT_LE(std::abs(client.height * 1440 - kMakerClientHeightTwips * dpi), 720) << dpi;
    for (std::size_t i = 0; i < kMakerControlCount; ++i) {
      const PixelEdges twips = TwipsOf(i);
      const PixelRect px = ControlPixelRect(i, dpi, dpi);
      for (const auto& [pixels, exact] :
           {std::pair{px.left, twips.left}, std::pair{px.top, twips.top},
            std::pair{px.right(), twips.right}, std::pair{px.bottom(), twips.bottom}}) {
        EXPECT_LE(std::abs(pixels * 1440 - exact * dpi), 720)
            << "control " << i << " at " << dpi << " dpi";
      }
      EXPECT_GT(px.width, 0);
      EXPECT_GT(px.height, 0);
      EXPECT_LE(px.right(), client.width);
      EXPECT_LE(px.bottom(), client.height);
      for (std::size_t j = i + 1; j < kMakerControlCount; ++j) {
        if (MakerControls()[i].kind == ControlKind::Frame ||
            MakerControls()[j].kind == ControlKind::Frame)
          continue;
        if (Overlap(twips, TwipsOf(j))) continue;
        EXPECT_FALSE(Overlap(px, ControlPixelRect(j, dpi, dpi)))
            << i << " and " << j << " at " << dpi << " dpi";
      }
    }
  }
}

TEST(MakerWindowLayoutTest, FontHeightIsTenPointTwoInPixels) {
  EXPECT_EQ(MakerFontHeight(96), -14);     // 13.6 px
  EXPECT_EQ(MakerFontHeight(120), -17);    // 17.0 px
  EXPECT_EQ(MakerFontHeight(144), -20);    // 20.4 px
  EXPECT_EQ(TwipsToPixels(1452, 96), 97);  // 96.8
  EXPECT_EQ(TwipsToPixels(7, 96), 0);      // 0.47: halves and below round down, above round up
  EXPECT_EQ(TwipsToPixels(8, 96), 1);      // 0.53
}

}  // namespace
}  // namespace kelmo
