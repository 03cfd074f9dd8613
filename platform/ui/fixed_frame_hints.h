#pragma once
// What a window of fixed size asks of the desktop's window manager on X11:
// a title, a border, a window menu and a close box; no resize frame, no
// minimise or maximise. The toolkit always asks for a resize frame, so the
// request is written again whenever it may have been rewritten.
#include <cstdint>
#include <optional>

class QWidget;

namespace vb {

// The frame functions and decorations of the Motif window-manager hints.
struct FrameHints {
    uint32_t functions = 0;
    uint32_t decorations = 0;
};

// Writes the fixed-dialog request on window's native window; nothing off X11
// or before the native window exists.
void AskForFixedFrame(QWidget& window);

// The hints a native window carries, as the window manager reads them;
// nullopt off X11 or when it carries none.
std::optional<FrameHints> FrameHintsOf(QWidget& window);

// Motif hint bits.
enum : uint32_t {
    kMwmFuncResize = 1u << 1,
    kMwmFuncMove = 1u << 2,
    kMwmFuncMinimize = 1u << 3,
    kMwmFuncMaximize = 1u << 4,
    kMwmFuncClose = 1u << 5,
    kMwmDecorBorder = 1u << 1,
    kMwmDecorResizeHandle = 1u << 2,
    kMwmDecorTitle = 1u << 3,
    kMwmDecorMenu = 1u << 4,
    kMwmDecorMinimize = 1u << 5,
    kMwmDecorMaximize = 1u << 6,
};

}  // namespace vb
