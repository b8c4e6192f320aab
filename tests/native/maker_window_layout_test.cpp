#include <gtest/gtest.h>

#include <cstdlib>
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

// The hand-worked rows, their count included, against the code's table: tab
// order, each group's indexes once, kinds, captions and pixels.
TEST(MakerWindowLayoutTest, ControlsAndPixelsAt96And120DpiAreTheHandWorkedOnes) {
  ASSERT_EQ(MakerControls().size(), kExpectedControl.size());
  EXPECT_EQ(ClientPixelRect(96, 96).width, testing_support::kClientWidthAt96);
  EXPECT_EQ(ClientPixelRect(96, 96).height, testing_support::kClientHeightAt96);
  EXPECT_EQ(ClientPixelRect(120, 120).width, testing_support::kClientWidthAt120);
  EXPECT_EQ(ClientPixelRect(120, 120).height, testing_support::kClientHeightAt120);
  for (std::size_t i = 0; i < kExpectedControl.size(); ++i) {
    const auto& expected = kExpectedControl[i];
    SCOPED_TRACE("tab " + std::to_string(i) + " " + Narrow(expected.name));
    EXPECT_EQ(NameAndIndex(MakerControls()[i]), expected.name) << "tab order";
    EXPECT_EQ(MakerControls()[i].kind, expected.kind);
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

// At any DPI every edge is the nearest pixel to its exact place, so the
// layout keeps the hand-worked proportions within half a pixel.
TEST(MakerWindowLayoutTest, KeepsProportionsAtOtherDpis) {
  ASSERT_EQ(MakerControls().size(), kExpectedControl.size());
  for (const int dpi : {72, 144, 192}) {
    const PixelRect client = ClientPixelRect(dpi, dpi);
    EXPECT_LE(std::abs(client.width * 1440 - kMakerClientWidthTwips * dpi), 720) << dpi;
    EXPECT_LE(std::abs(client.height * 1440 - kMakerClientHeightTwips * dpi), 720) << dpi;
    for (std::size_t i = 0; i < kExpectedControl.size(); ++i) {
      const PixelEdges twips = TwipsOf(i);
      const PixelRect px = ControlPixelRect(i, dpi, dpi);
      for (const auto& [pixels, exact] :
           {std::pair{px.left, twips.left}, std::pair{px.top, twips.top},
            std::pair{px.right(), twips.right}, std::pair{px.bottom(), twips.bottom}}) {
        EXPECT_LE(std::abs(pixels * 1440 - exact * dpi), 720)
            << "control " << i << " at " << dpi << " dpi";
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
