// Loaded into the installed program by a process test (LD_PRELOAD), never
// built into it: the desktop library's look-up of the application that shows
// web pages throws, so the program's Help command, a real handler of the real
// executable, fails as an unexpected error would. Every other look-up goes
// to the library itself.
#include <dlfcn.h>

#include <cstring>
#include <stdexcept>

extern "C" {

typedef struct _GAppInfo GAppInfo;

GAppInfo* g_app_info_get_default_for_type(const char* content_type, int must_support_uris) {
    if (content_type != nullptr && std::strcmp(content_type, "text/html") == 0)
        throw std::runtime_error("the help pages cannot be shown (a test made this fail)");
    using Lookup = GAppInfo* (*)(const char*, int);
    static const auto library = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "g_app_info_get_default_for_type"));
    return library(content_type, must_support_uris);
}

}  // extern "C"
