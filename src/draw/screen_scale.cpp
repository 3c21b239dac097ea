#include "draw/screen_scale.h"

namespace kanaflow {
namespace {
int g_scale = 100;
}  // namespace

int ScreenScale() { return g_scale; }
void SetScreenScale(int percent) { g_scale = percent; }
bool Scaling() { return g_scale != 100; }

int Scaled(int units) { return MulDiv(units, g_scale, 100); }
int Unscaled(int pixels) { return MulDiv(pixels, 100, g_scale); }
RECT Scaled(const RECT& units) {
  return {Scaled(units.left), Scaled(units.top), Scaled(units.right), Scaled(units.bottom)};
}

void ApplyScreenScale(HDC dc) {
  if (!Scaling() || !dc) return;
  SetGraphicsMode(dc, GM_ADVANCED);
  const float factor = static_cast<float>(g_scale) / 100.0f;
  const XFORM transform{factor, 0.0f, 0.0f, factor, 0.0f, 0.0f};
  SetWorldTransform(dc, &transform);
}

int ScaleOf(HDC dc) {
  XFORM transform{};
  if (GetGraphicsMode(dc) != GM_ADVANCED || !GetWorldTransform(dc, &transform)) return 100;
  return static_cast<int>(transform.eM11 * 100.0f + 0.5f);
}

}  // namespace kanaflow
