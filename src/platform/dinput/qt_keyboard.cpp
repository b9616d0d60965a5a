#include "platform/dinput/qt_keyboard.h"

#include <cstring>

namespace dinput {

QtKeyboard::QtKeyboard(KeyboardLayout layout) : layout_(layout) {}

bool QtKeyboard::AcceptsFormat(const DIDATAFORMAT& format) const { return format.dwDataSize == 256; }

HRESULT QtKeyboard::CheckLevel(std::uint32_t flags) const {
    // An exclusive keyboard in the background would keep keys from the rest
    // of the desktop.
    if ((flags & DISCL_EXCLUSIVE) && (flags & DISCL_BACKGROUND))
        return DIERR_UNSUPPORTED;
    return DI_OK;
}

HRESULT QtKeyboard::ReadState(std::uint32_t size, void* data) {
    std::memcpy(data, keys_.data(), size);
    return DI_OK;
}

void QtKeyboard::OnWindowEvent(QObject*, QEvent* event) {
    if (event->type() == QEvent::KeyPress)
        Press(static_cast<QKeyEvent&>(*event));
    else if (event->type() == QEvent::KeyRelease)
        Release(static_cast<QKeyEvent&>(*event));
}

void QtKeyboard::Press(const QKeyEvent& event) {
    std::uint8_t code = ScanCodeForEvent(event, layout_);
    if (code == 0)
        return;
    keys_[code] = 0x80;
    if (event.nativeScanCode() != 0)
        heldByNativeCode_[event.nativeScanCode()] = code;
}

void QtKeyboard::Release(const QKeyEvent& event) {
    // Auto-repeat sends release/press pairs while the key stays down.
    if (event.isAutoRepeat())
        return;
    std::uint8_t code = ScanCodeForEvent(event, layout_);
    auto held = heldByNativeCode_.find(event.nativeScanCode());
    if (event.nativeScanCode() != 0 && held != heldByNativeCode_.end()) {
        keys_[held->second] = 0;
        heldByNativeCode_.erase(held);
    }
    if (code != 0)
        keys_[code] = 0;
}

void QtKeyboard::OnFocusLost() {
    keys_.fill(0);
    heldByNativeCode_.clear();
}

} // namespace dinput
