// Lengths and font heights for a screen's DPI. The lengths the utility paints with in pixels
// are meant for 96 DPI (100 %); on a screen of another DPI they are scaled so that what is
// painted keeps its size on the screen, as the dialog templates' layout does.
#pragma once

namespace hx::controls {

// The DPI at which a length given in pixels is meant.
inline constexpr int kBaseDpi = 96;

// A length of fromDpi pixels, in toDpi pixels: rounded to the nearest pixel, halves away from
// zero, so that a negative font height scales like a positive one. A DPI that is not
// positive is unknown: the length is then kept.
int RescaleForDpi(int length, int fromDpi, int toDpi);

// A length given for 96 DPI, at dpi.
inline int ScaleForDpi(int length, int dpi) { return RescaleForDpi(length, kBaseDpi, dpi); }

}  // namespace hx::controls
