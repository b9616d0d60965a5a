#pragma once
// libsodium needs one initialisation per process before its random numbers
// may be used; every user of the library here calls this first.

namespace meeting {

// Throws base::Exception when libsodium cannot start (no random source).
void EnsureSodium();

} // namespace meeting
