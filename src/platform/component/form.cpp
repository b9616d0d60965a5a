#include "platform/component/form.h"

namespace ui {

void TForm::FinishLoading() {
    std::vector<TComponent*> loaded = Components();
    for (TComponent* component : loaded)
        component->Loaded();
    if (OnCreate)
        OnCreate();
}

} // namespace ui
