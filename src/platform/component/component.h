#pragma once
// The component model the three components live in: a component has an
// owner that destroys it, a name, a tag, a design-mode flag and an
// after-loading hook that its form calls once its settings are in place.

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }

    std::string Name;
    std::int32_t Tag = 0;

    // Design mode: set by tests to see a component as the form designer would.
    bool Designing() const { return designing_; }
    void SetDesigning(bool designing) { designing_ = designing; }

    // Runs after the owner has set the stored settings (the platform devices
    // are opened here).
    virtual void Loaded() {}

protected:
    // Destroys the owned components now, last-created first. A form calls it
    // before its window goes, since components may still talk to the window
    // while they are released.
    void DestroyComponents();

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
    bool designing_ = false;
};

} // namespace ui
