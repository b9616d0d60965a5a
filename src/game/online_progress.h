#pragma once
// The small window that tells how hosting or joining goes (what is
// happening, and how long it has waited so far); its button gives up.

#include <QDialog>

#include <QElapsedTimer>
#include <string>

class QLabel;

namespace game {

class ProgressWindow {
public:
    explicit ProgressWindow(QWidget* parent);
    // The words shown from now on; the time waited counts from here.
    void Say(const std::string& text);
    // Handles the window's events and brings the time waited up to date;
    // true once the player gave up.
    bool Cancelled();
    // Leaves the last words up a moment, so that they can be read.
    void Linger(int ms);

private:
    void Show();
    void FitOnScreen();

    QDialog window_;
    QLabel* label_ = nullptr;
    std::string text_;
    QElapsedTimer since_;
    qint64 secondsShown_ = 0;
    bool cancelled_ = false;
};

} // namespace game
