#include "maker/window_layout.h"

namespace kelmo {

namespace {

// Rounds a * b / c to the nearest integer, halves away from zero (c > 0).
int ScaleRounded(long long a, long long b, long long c) {
  const long long product = a * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : -((-product + half) / c));
}

using K = ControlKind;
using G = ControlGroup;

// Frames are referred to by their tab index: 0 fraKelmoSet, 3 fraTimingSet,
// 8 fraSizeSet. In the size group the first row holds indexes 0, 1, 4 and
// the second 2, 3, 5, so tab order and index order differ there; the list
// buttons 1 (delete) and the make button come after the list and its arrows.
constexpr std::array<ControlRow, kMakerControlCount> kTable = {{
    {L"fraKelmoSet", K::Frame, G::None, 0, L"Kelmo 設定", -1, 120, 120, 1872, 1212},
    {L"optKelmoSet", K::Option, G::KelmoSet, 0, L"Kelmo(&S)", 0, 240, 300, 1452, 372},
    {L"optKelmoSet", K::Option, G::KelmoSet, 1, L"Kelmo Pro(&P)", 0, 240, 720, 1452, 372},
    {L"fraTimingSet", K::Frame, G::None, 0, L"実行タイミング設定", -1, 2100, 120, 3132, 1212},
    {L"optTimingSet", K::Option, G::TimingSet, 0, L"前(&B)", 3, 240, 300, 1092, 372},
    {L"optTimingSet", K::Option, G::TimingSet, 1, L"待機対象(&W)", 3, 1380, 300, 1692, 372},
    {L"optTimingSet", K::Option, G::TimingSet, 2, L"後(&A)", 3, 240, 720, 1092, 372},
    {L"optTimingSet", K::Option, G::TimingSet, 3, L"同期(&T)", 3, 1380, 720, 1692, 372},
    {L"fraSizeSet", K::Frame, G::None, 0, L"実行時サイズ設定", -1, 120, 1380, 5112, 1212},
    {L"optSizeSet", K::Option, G::SizeSet, 0, L"標準(&D)", 8, 240, 300, 1212, 372},
    {L"optSizeSet", K::Option, G::SizeSet, 1, L"最小(&M)", 8, 1500, 300, 1212, 372},
    {L"optSizeSet", K::Option, G::SizeSet, 4, L"非アクティブ最小(&I)", 8, 2760, 300, 2292, 372},
    {L"optSizeSet", K::Option, G::SizeSet, 2, L"最大(&X)", 8, 240, 720, 1212, 372},
    {L"optSizeSet", K::Option, G::SizeSet, 3, L"通常(&N)", 8, 1500, 720, 1212, 372},
    {L"optSizeSet", K::Option, G::SizeSet, 5, L"非アクティブ通常(&O)", 8, 2760, 720, 2292, 372},
    {L"Label1", K::Label, G::None, 0, L"実行コマンド(&C)", -1, 120, 2700, 2772, 312},
    {L"txtCmd", K::Text, G::None, 0, L"", -1, 120, 3000, 3972, 372},
    {L"cmdCmd", K::Command, G::Cmd, 0, L"参照(&R)", -1, 4140, 3000, 1092, 372},
    {L"cmdList", K::Command, G::ListButtons, 0, L"追加(&E)", -1, 120, 3480, 1092, 372},
    {L"lstCmd", K::List, G::None, 0, L"", -1, 120, 4020, 4632, 1680},
    {L"cmdList", K::Command, G::ListButtons, 2, L"&^", -1, 4800, 4020, 432, 792},
    {L"cmdList", K::Command, G::ListButtons, 3, L"&V", -1, 4800, 4860, 432, 792},
    {L"cmdList", K::Command, G::ListButtons, 1, L"削除(&D)", -1, 1320, 3480, 1032, 372},
    {L"cmdCmd", K::Command, G::Cmd, 1, L"&make", -1, 3600, 3540, 1632, 372},
    {L"cmdList", K::Command, G::ListButtons, 4, L"リストクリア(&L)", -1, 120, 5760, 2112, 372},
    {L"cmdMain", K::Command, G::None, 0, L"終了(&X)", -1, 3900, 5760, 1332, 372},
}};

}  // namespace

const std::array<ControlRow, kMakerControlCount>& MakerControls() { return kTable; }

int TwipsToPixels(int twips, int dotsPerInch) { return ScaleRounded(twips, dotsPerInch, 1440); }

PixelRect ControlPixelRect(std::size_t tabIndex, int dpiX, int dpiY) {
  const auto& table = kTable;
  const ControlRow& row = table[tabIndex];
  int left = row.left;
  int top = row.top;
  if (row.frame >= 0) {
    left += table[static_cast<std::size_t>(row.frame)].left;
    top += table[static_cast<std::size_t>(row.frame)].top;
  }
  const int x0 = TwipsToPixels(left, dpiX);
  const int y0 = TwipsToPixels(top, dpiY);
  return {x0, y0, TwipsToPixels(left + row.width, dpiX) - x0,
          TwipsToPixels(top + row.height, dpiY) - y0};
}

PixelRect ClientPixelRect(int dpiX, int dpiY) {
  return {0, 0, TwipsToPixels(kMakerClientWidthTwips, dpiX),
          TwipsToPixels(kMakerClientHeightTwips, dpiY)};
}

int MakerFontHeight(int dotsPerInch) {
  return -ScaleRounded(kMakerFontTenthsOfPoint, dotsPerInch, 720);
}

}  // namespace kelmo
