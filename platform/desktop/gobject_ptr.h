#pragma once
// Ownership of GLib and GObject values for the few GIO calls of this folder.
// Included by .cpp files only: GIO's headers must come before Qt's, whose
// "signals" keyword would rename a member of theirs.

#include <glib-object.h>

#include <memory>

namespace platform::desktop {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFree>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

}  // namespace platform::desktop
