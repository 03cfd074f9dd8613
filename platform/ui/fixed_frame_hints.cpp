#include "platform/ui/fixed_frame_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <memory>

namespace vb {
namespace {

constexpr uint32_t kHasFunctions = 1u << 0;
constexpr uint32_t kHasDecorations = 1u << 1;

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t HintsAtom(xcb_connection_t* c) {
    static const char kName[] = "_MOTIF_WM_HINTS";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kName - 1, kName), nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

}  // namespace

void AskForFixedFrame(QWidget& window) {
    xcb_connection_t* c = Connection();
    if (!c || !window.testAttribute(Qt::WA_WState_Created)) return;
    const xcb_atom_t atom = HintsAtom(c);
    if (atom == XCB_ATOM_NONE) return;
    // flags, functions, decorations, input mode, status
    const std::array<uint32_t, 5> hints = {kHasFunctions | kHasDecorations, kMwmFuncMove | kMwmFuncClose,
                                           kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atom, atom, 32,
                        hints.size(), hints.data());
    xcb_flush(c);
}

std::optional<FrameHints> FrameHintsOf(QWidget& window) {
    xcb_connection_t* c = Connection();
    if (!c || !window.testAttribute(Qt::WA_WState_Created)) return std::nullopt;
    const xcb_atom_t atom = HintsAtom(c);
    if (atom == XCB_ATOM_NONE) return std::nullopt;
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, static_cast<xcb_window_t>(window.winId()), atom, XCB_ATOM_ANY, 0, 5),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 12) return std::nullopt;
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    FrameHints hints;
    if (values[0] & kHasFunctions) hints.functions = values[1];
    if (values[0] & kHasDecorations) hints.decorations = values[2];
    return hints;
}

}  // namespace vb
