#include "platform/dinput/install.h"

#include "platform/dinput/sdl_qt_direct_input.h"

namespace dinput {

void InstallSdlQtDirectInput(std::optional<KeyboardLayout> layout) {
    SetDirectInputFactory([layout](void*, std::uint32_t version, IDirectInput** object) -> HRESULT {
        if (version > DIRECTINPUT_VERSION)
            return DIERR_OLDDIRECTINPUTVERSION;
        if (version < 0x0300)
            return DIERR_BETADIRECTINPUTVERSION;
        *object = new SdlQtDirectInput(layout.value_or(SystemKeyboardLayout()));
        return DI_OK;
    });
}

} // namespace dinput
