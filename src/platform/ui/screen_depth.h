#pragma once
// The desktop's colour depth in bits per pixel as a Windows program sees it.

class QScreen;

namespace ui {

// A 24-bit X display keeps its pixels in 32 bits, which is what the game
// asks for; 15-bit displays likewise take 16. The primary screen when
// screen is nullptr.
int ScreenBitsPerPixel(const QScreen* screen = nullptr);

} // namespace ui
