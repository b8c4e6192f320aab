#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "maker/window_layout.h"

namespace kelmo {
namespace {

struct TwipsRect {
  int left, top, right, bottom;
};

// Absolute twips of a control: option buttons sit at their frame's offset.
TwipsRect AbsoluteTwips(std::size_t i) {
  const ControlRow& row = MakerControls()[i];
  int left = row.left, top = row.top;
  if (row.frame >= 0) {
    left += MakerControls()[static_cast<std::size_t>(row.frame)].left;
    top += MakerControls()[static_cast<std::size_t>(row.frame)].top;
  }
  return {left, top, left + row.width, top + row.height};
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

bool Overlap(const TwipsRect& a, const TwipsRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(MakerWindowLayoutTest, GroupsHoldEachIndexOnceAndOptionsSitInTheirFrames) {
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
  // Tab order is not index order in the size group and for the list buttons.
  EXPECT_LT(FindControl(ControlGroup::SizeSet, 4), FindControl(ControlGroup::SizeSet, 2));
  EXPECT_GT(FindControl(ControlGroup::ListButtons, 1), FindControl(L"lstCmd"));
  EXPECT_GT(FindControl(ControlGroup::Cmd, 1), FindControl(ControlGroup::ListButtons, 3));
  EXPECT_EQ(MakerControls()[0].kind, ControlKind::Frame)
      << "the first tab stop is Kelmo(&S), after its frame";

  for (std::size_t i = 0; i < kMakerControlCount; ++i) {
    const ControlRow& row = MakerControls()[i];
    EXPECT_EQ(row.kind == ControlKind::Option, row.frame >= 0)
        << std::string(row.name.begin(), row.name.end());
    if (row.frame < 0) continue;
    const auto frame = static_cast<std::size_t>(row.frame);
    EXPECT_EQ(MakerControls()[frame].kind, ControlKind::Frame);
    EXPECT_LT(frame, i) << "an option comes after its frame in tab order";
    const TwipsRect inner = AbsoluteTwips(i), outer = AbsoluteTwips(frame);
    EXPECT_TRUE(inner.left > outer.left && inner.right < outer.right && inner.top > outer.top &&
                inner.bottom < outer.bottom)
        << "option " << i << " outside its frame";
  }
}

TEST(MakerWindowLayoutTest, At120DpiEveryTwipValueIsExact) {
  const PixelRect client = ClientPixelRect(120, 120);
  EXPECT_EQ(client.width, 446);
  EXPECT_EQ(client.height, 522);
  for (std::size_t i = 0; i < kMakerControlCount; ++i) {
    const TwipsRect twips = AbsoluteTwips(i);
    const PixelRect px = ControlPixelRect(i, 120, 120);
    EXPECT_EQ(px.left * 12, twips.left) << i;
    EXPECT_EQ(px.top * 12, twips.top) << i;
    EXPECT_EQ(px.right() * 12, twips.right) << i;
    EXPECT_EQ(px.bottom() * 12, twips.bottom) << i;
  }
  // The label's 312 twips are 26 pixels; the frames' 1212 are 101.
  EXPECT_EQ(ControlPixelRect(static_cast<std::size_t>(FindControl(L"Label1")), 120, 120).height,
            26);
  EXPECT_EQ(ControlPixelRect(0, 120, 120).height, 101);
}

// At any DPI every edge is the nearest pixel to its exact place, so the
// layout keeps the table's proportions within half a pixel, and the
// controls that do not overlap in twips do not overlap in pixels (the label's
// last 12 twips reach into the text box in the table itself).
TEST(MakerWindowLayoutTest, KeepsProportionsAtOtherDpis) {
  for (const int dpi : {72, 96, 120, 144, 192}) {
    const PixelRect client = ClientPixelRect(dpi, dpi);
    EXPECT_LE(std::abs(client.width * 1440 - kMakerClientWidthTwips * dpi), 720) << dpi;
    EXPECT_LE(std::abs(client.height * 1440 - kMakerClientHeightTwips * dpi), 720) << dpi;
    for (std::size_t i = 0; i < kMakerControlCount; ++i) {
      const TwipsRect twips = AbsoluteTwips(i);
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
        if (Overlap(twips, AbsoluteTwips(j))) continue;
        EXPECT_FALSE(Overlap(px, ControlPixelRect(j, dpi, dpi)))
            << i << " and " << j << " at " << dpi << " dpi";
      }
    }
  }
  // Neighbours keep their gap: 追加 ends at 1212 twips, 削除 starts at 1320.
  const PixelRect add =
      ControlPixelRect(static_cast<std::size_t>(FindControl(ControlGroup::ListButtons, 0)), 96, 96);
  const PixelRect del =
      ControlPixelRect(static_cast<std::size_t>(FindControl(ControlGroup::ListButtons, 1)), 96, 96);
  EXPECT_EQ(add.right(), 81);
  EXPECT_EQ(del.left, 88);
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
