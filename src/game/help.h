#pragma once
// The help window: shows "readme.txt" in an editable box each time it is
// shown, and writes the box back to the file when Ctrl+S is pressed. A file
// that is there but cannot be read is told about and never saved over.

#include "base/user_folders.h"
#include "game/help_file_place.h"
#include "game/help_text.h"
#include "platform/component/form.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace game {

class Tfrm_help : public QDialog {
public:
    explicit Tfrm_help(QWidget* parent = nullptr);
    ~Tfrm_help() override;

    QPlainTextEdit* Memo1;
    QPushButton* BitBtn1;

    // The file shown and saved, by bare name in the current directory.
    std::string FileName = "readme.txt";
    // Where the player's own copy goes when FileName cannot be written
    // (see help_file_place.h).
    std::string PlayerFolder = base::UserDataFolder();

    // Shows the window modally and returns when it is closed.
    int ShowModal();

    void FormShow();
    void FormKeyDown(std::uint16_t& key, ui::TShiftState shift);

    // The encoding the file was read in; a save writes it back in the same.
    HelpEncoding Encoding() const { return encoding_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class KeyFilter;

    void SaveLines();
    void ReportReadError(const HelpFilePlace& place, const QString& reason);
    void ReportSaveError(const std::string& path, const QString& reason);

    std::unique_ptr<KeyFilter> keyFilter_;
    HelpEncoding encoding_ = HelpEncoding::Cp932;
};

} // namespace game
