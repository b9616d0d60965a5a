// Feeds arbitrary bytes to the meeting message reader twice: as they come
// (a stranger's garbage in the room must not open), and sealed with the
// room's key as a message body (what someone who knows the code may send).
// What opens must seal again to a message that opens the same.

#include "meeting/meeting_message.h"

#include <sodium.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const meeting::Key key = meeting::RoomSealingKey("K7Q4MX");
    if (meeting::OpenMessage({data, size}, key)) {
        std::abort(); // nothing unsealed can open
    }
    if (size + crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES >
        meeting::kMaxSealedMessage) {
        return 0;
    }
    std::vector<std::uint8_t> sealed(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES +
                                     size);
    crypto_secretbox_easy(sealed.data() + crypto_secretbox_NONCEBYTES, data, size, sealed.data(),
                          key.data());
    const auto message = meeting::OpenMessage(sealed, key);
    if (!message) {
        return 0;
    }
    const auto again = meeting::SealMessage(*message, key);
    if (!again || meeting::OpenMessage(*again, key) != message) {
        std::abort();
    }
    return 0;
}
