#pragma once
// The frame the desktop draws around a window: what sizing a window from its
// designed outer size needs (caption height, sizing-frame thickness and
// border width, in twips).
//
// The numbers come from the frame the platform reports around a shown window
// (QWidget::frameGeometry against geometry). Only its totals agree across
// window systems, so
//   frame thickness = (outer width - client width) / 2
//   caption height  = outer height - client height - 2 x frame thickness
// and outer = client + 2 x frame across, client + caption + 2 x frame down.
// The border width is one pixel: the desktop reports no thin border apart
// from the sizing frame, and one pixel is the thinnest line a screen draws.
// The last frame seen is kept for the run (the windows of one desktop share
// it), so a window sized while still hidden gets the frame it will have.
//
// Before any window with a frame has been shown, and where the platform draws
// none, caption and frame are 0 and `measured` is false: a designed outer
// size then sizes the client area, and the desktop adds its frame outside it.
#include <QSize>

class QWidget;

namespace vb {

struct WindowFrame {
    int captionHeight = 0;
    int frameThickness = 0;
    int borderWidth = 0;
    bool measured = false;
};

// The frame that a window's outer size less its client size (pixels) makes.
WindowFrame WindowFrameFromExtra(QSize extraPixels);
// The frame of the shown windows, or the last one seen.
WindowFrame CurrentWindowFrame();
// A top-level window's outer size less its client size, in pixels: the frame
// reported around it; while it is hidden and framed, the last frame seen.
QSize WindowFrameExtra(const QWidget& window);

}  // namespace vb
