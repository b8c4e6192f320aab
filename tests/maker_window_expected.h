// The maker window's controls, their kinds, captions and places in client-area pixels at 96 and
// 120 dpi, in tab order, worked out by hand from the layout's twips: an option button's place is
// its frame's place plus its own offset; 15 twips make a pixel at 96 dpi (halves round up), 12
// twips at 120 dpi (every value is exact). Shared by the layout's unit test and the test of the
// real window; both compare the code's table with these rows, their count included.
#pragma once

#include <array>
#include <cstddef>

#include "maker/window_layout.h"

namespace kelmo::testing_support {

struct PixelEdges {
  int left, top, right, bottom;
};

struct ExpectedControl {
  const wchar_t* name;  // control name and index
  ControlKind kind;
  const wchar_t* caption;  // "&" marks the access key
  PixelEdges at96;
  PixelEdges at120;
};

// 5352 x 6264 twips: 356.8 x 417.6 pixels at 96 dpi.
inline constexpr int kClientWidthAt96 = 357, kClientHeightAt96 = 418;
inline constexpr int kClientWidthAt120 = 446, kClientHeightAt120 = 522;

using K = ControlKind;
// clang-format off
inline constexpr std::array<ExpectedControl, 26> kExpectedControl = {{
    {L"fraKelmoSet", K::Frame, L"Kelmo 設定", {8, 8, 133, 89}, {10, 10, 166, 111}},
    {L"optKelmoSet 0", K::Option, L"Kelmo(&S)", {24, 28, 121, 53}, {30, 35, 151, 66}},
    {L"optKelmoSet 1", K::Option, L"Kelmo Pro(&P)", {24, 56, 121, 81}, {30, 70, 151, 101}},
    {L"fraTimingSet", K::Frame, L"実行タイミング設定", {140, 8, 349, 89}, {175, 10, 436, 111}},
    {L"optTimingSet 0", K::Option, L"前(&B)", {156, 28, 229, 53}, {195, 35, 286, 66}},
    {L"optTimingSet 1", K::Option, L"待機対象(&W)", {232, 28, 345, 53}, {290, 35, 431, 66}},
    {L"optTimingSet 2", K::Option, L"後(&A)", {156, 56, 229, 81}, {195, 70, 286, 101}},
    {L"optTimingSet 3", K::Option, L"同期(&T)", {232, 56, 345, 81}, {290, 70, 431, 101}},
    {L"fraSizeSet", K::Frame, L"実行時サイズ設定", {8, 92, 349, 173}, {10, 115, 436, 216}},
    {L"optSizeSet 0", K::Option, L"標準(&D)", {24, 112, 105, 137}, {30, 140, 131, 171}},
    {L"optSizeSet 1", K::Option, L"最小(&M)", {108, 112, 189, 137}, {135, 140, 236, 171}},
    {L"optSizeSet 4", K::Option, L"非アクティブ最小(&I)", {192, 112, 345, 137}, {240, 140, 431, 171}},
    {L"optSizeSet 2", K::Option, L"最大(&X)", {24, 140, 105, 165}, {30, 175, 131, 206}},
    {L"optSizeSet 3", K::Option, L"通常(&N)", {108, 140, 189, 165}, {135, 175, 236, 206}},
    {L"optSizeSet 5", K::Option, L"非アクティブ通常(&O)", {192, 140, 345, 165}, {240, 175, 431, 206}},
    {L"Label1", K::Label, L"実行コマンド(&C)", {8, 180, 193, 201}, {10, 225, 241, 251}},
    {L"txtCmd", K::Text, L"", {8, 200, 273, 225}, {10, 250, 341, 281}},
    {L"cmdCmd 0", K::Command, L"参照(&R)", {276, 200, 349, 225}, {345, 250, 436, 281}},
    {L"cmdList 0", K::Command, L"追加(&E)", {8, 232, 81, 257}, {10, 290, 101, 321}},
    {L"lstCmd", K::List, L"", {8, 268, 317, 380}, {10, 335, 396, 475}},
    {L"cmdList 2", K::Command, L"&^", {320, 268, 349, 321}, {400, 335, 436, 401}},
    {L"cmdList 3", K::Command, L"&V", {320, 324, 349, 377}, {400, 405, 436, 471}},
    {L"cmdList 1", K::Command, L"削除(&D)", {88, 232, 157, 257}, {110, 290, 196, 321}},
    {L"cmdCmd 1", K::Command, L"&make", {240, 236, 349, 261}, {300, 295, 436, 326}},
    {L"cmdList 4", K::Command, L"リストクリア(&L)", {8, 384, 149, 409}, {10, 480, 186, 511}},
    {L"cmdMain", K::Command, L"終了(&X)", {260, 384, 349, 409}, {325, 480, 436, 511}},
}};
// clang-format on

}  // namespace kelmo::testing_support
