#include "base/quiet_alsa.h"

#include <dlfcn.h>

namespace base {
namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

} // namespace

void QuietAlsaLog() {
    // Looked up by name: nothing here depends on ALSA's headers, and a
    // process without the library is left alone.
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (void* symbol = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"))
        reinterpret_cast<SetHandler>(symbol)(IgnoreAlsaError);
}

} // namespace base
