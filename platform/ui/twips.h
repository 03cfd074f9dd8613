#pragma once
// Twips are the unit every window and control geometry is given in:
// 1440 per logical inch, so 15 per pixel at 96 dpi.

namespace vb {

constexpr int kTwipsPerInch = 1440;

// Twips per pixel at the primary screen's logical DPI (15 at 96 dpi).
double TwipsPerPixelX();
double TwipsPerPixelY();

// Rounded to the nearest pixel / twip.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// The primary screen's available size in twips (Screen.Width / Screen.Height).
int ScreenWidth();
int ScreenHeight();

}  // namespace vb
