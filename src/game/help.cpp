#include "game/help.h"

#include "diagnostics/dddd_log.h"
#include "game/help_file_place.h"
#include "game/replace_file.h"
#include "platform/component/desktop.h"
#include "platform/ui/fonts.h"
#include "platform/ui/key_map.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QWindow>

namespace game {

namespace {

constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
constexpr std::uint16_t kVirtualKeyS = 83;

// The editor keeps paragraph and line separators of its own; the file knows
// only line breaks. The raw text keeps non-breaking spaces, which the plain
// text would turn into ordinary ones.
std::string EditorText(const QPlainTextEdit& editor) {
    QString text = editor.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

} // namespace

// Key preview: the filter sits on the native window, which sees each key
// before Qt hands it to the focused control.
class Tfrm_help::KeyFilter : public QObject {
public:
    explicit KeyFilter(Tfrm_help& form) : form_(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* keyEvent = static_cast<QKeyEvent*>(event);
            std::uint16_t key = ui::VirtualKeyFromQt(keyEvent->key(), keyEvent->modifiers());
            if (key != 0) {
                form_.FormKeyDown(key, ui::ShiftStateFromQt(keyEvent->modifiers()));
                if (key == 0) {
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Tfrm_help& form_;
};

Tfrm_help::Tfrm_help(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      keyFilter_(std::make_unique<KeyFilter>(*this)) {
    setObjectName(QStringLiteral("frm_help"));
    setWindowTitle(QString::fromUtf8("遊び方"));
    setFixedSize(348, 445);
    setFont(ui::MakeFont(kFontFace, 12));
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Button));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 16, 313, 385);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab moves on to the close button instead of being typed.
    Memo1->setTabChangesFocus(true);

    BitBtn1 = new QPushButton(QString::fromUtf8("閉じる"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(232, 410, 97, 27);
    BitBtn1->setFont(ui::MakeFont(kFontFace, 12));
    QPalette buttonPalette = BitBtn1->palette();
    buttonPalette.setColor(QPalette::ButtonText, QColor(0, 64, 0));
    BitBtn1->setPalette(buttonPalette);
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(Memo1, BitBtn1);
}

Tfrm_help::~Tfrm_help() = default;

int Tfrm_help::ShowModal() {
    return exec();
}

bool Tfrm_help::event(QEvent* event) {
    // The native window comes and goes; the key filter follows it.
    if ((event->type() == QEvent::WinIdChange || event->type() == QEvent::Show) && windowHandle()) {
        windowHandle()->removeEventFilter(keyFilter_.get());
        windowHandle()->installEventFilter(keyFilter_.get());
    }
    return QDialog::event(event);
}

void Tfrm_help::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QRect frame = frameGeometry();
        move(area.x() + (area.width() - frame.width()) / 2,
             area.y() + (area.height() - frame.height()) / 2);
    }
    FormShow();
}

void Tfrm_help::FormShow() {
    Memo1->clear();
    encoding_ = HelpEncoding::Cp932; // what a new file gets
    const HelpFilePlace place = ChooseHelpFile(FileName, PlayerFolder);
    const QString path = QString::fromStdString(place.ReadFrom);
    if (!QFileInfo::exists(path))
        return; // no file yet: an empty box, nothing to tell
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ReportReadError(place, file.errorString());
        return;
    }
    const HelpText text = DecodeHelpFile(bytes.toStdString());
    encoding_ = text.Encoding;
    Memo1->setPlainText(QString::fromStdString(text.Utf8));
}

void Tfrm_help::FormKeyDown(std::uint16_t& key, ui::TShiftState shift) {
    if (key == kVirtualKeyS && shift == ui::ssCtrl) {
        SaveLines();
    }
}

void Tfrm_help::SaveLines() {
    const std::string target = ChooseHelpFile(FileName, PlayerFolder).SaveTo;
    const QString path = QString::fromStdString(target);
    // Saving puts a new file in the old one's place (see replace_file.h).
    // That would also get past a read-only file, which stays protected.
    const QFileInfo info(path);
    if (info.exists() && !info.isDir() && !info.isWritable()) {
        ReportSaveError(target, QString::fromUtf8("書き込みが禁止されています。"));
        return;
    }
    if (target != FileName && !base::MakeFolders(info.absolutePath().toStdString())) {
        ReportSaveError(target, QString::fromUtf8("フォルダを作成できません。"));
        return;
    }
    const std::string bytes = EncodeHelpFile(EditorText(*Memo1), encoding_);
    if (const QString reason = ReplaceFile(path, bytes); !reason.isEmpty())
        ReportSaveError(target, reason);
}

// The box stays empty; a save then goes to the player's own copy, never over
// the file that could not be read.
void Tfrm_help::ReportReadError(const HelpFilePlace& place, const QString& reason) {
    dddd::ReportMessage(place.ReadFrom + "が、読み込めません(" + reason.toStdString() + ")");
    const QString text =
        QString::fromUtf8(
            "ファイル %1 を読み込めません。\r%2\rCtrl+S で保存すると %3 に書き込みます。")
            .arg(QString::fromStdString(place.ReadFrom), reason,
                 QString::fromStdString(place.SaveTo));
    ui::CurrentDesktop().ShowMessage(QGuiApplication::applicationDisplayName().toStdString(),
                                     text.toStdString(), ui::MessageKind::Error);
}

void Tfrm_help::ReportSaveError(const std::string& path, const QString& reason) {
    const QString text = QString::fromUtf8("ファイル %1 を作成できません。\r%2")
                             .arg(QString::fromStdString(path), reason);
    ui::CurrentDesktop().ShowMessage(QGuiApplication::applicationDisplayName().toStdString(),
                                     text.toStdString(), ui::MessageKind::Error);
}

} // namespace game
