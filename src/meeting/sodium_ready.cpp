#include "meeting/sodium_ready.h"

#include "base/errors.h"

#include <sodium.h>

namespace meeting {

void EnsureSodium() {
    // sodium_init is safe to call again and from several threads.
    if (sodium_init() < 0) {
        throw base::Exception("libsodium を初期化できません(乱数源がありません)。");
    }
}

} // namespace meeting
