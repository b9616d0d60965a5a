#include "platform/ui/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace ui {

void InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

bool JapaneseFontInstalled() {
    return !QFontDatabase::families(QFontDatabase::Japanese).isEmpty();
}

QFont MakeFont(const std::string& face, int heightPixels) {
    QFont font(QString::fromStdString(face));
    // The character height, without the leading above, as a Windows font's
    // negative height gives it.
    font.setPixelSize(heightPixels > 0 ? heightPixels : 1);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace ui
