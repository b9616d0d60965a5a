#include "platform/ui/shaped_text.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QTransform>

namespace ui {

namespace {

// Enough for every text a frame draws; past it the cache starts again, so
// ever-changing texts cannot make it grow without end.
constexpr qsizetype kMostKept = 256;

} // namespace

const ShapedText& ShapeText(const QFont& font, const QString& fontKey, const QString& text) {
    // Never destroyed: layouts hold font engines, which must not go after
    // the application has gone.
    static auto& kept = *new QHash<QString, ShapedText>;
    const QString key = fontKey + QChar(u'\n') + text;
    if (const auto found = kept.constFind(key); found != kept.cend())
        return *found;
    if (kept.size() >= kMostKept)
        kept.clear();
    const QFontMetrics metrics(font);
    ShapedText shaped;
    shaped.layout.setText(text);
    shaped.layout.setTextFormat(Qt::PlainText);
    shaped.layout.prepare(QTransform(), font);
    shaped.advance = metrics.horizontalAdvance(text);
    shaped.height = metrics.height();
    shaped.inked = metrics.boundingRect(text);
    if (!font.underline() && !font.strikeOut()) {
        const QRect box = shaped.inked.translated(0, metrics.ascent()).adjusted(-2, -2, 2, 2);
        shaped.coverageAt = box.topLeft();
        shaped.coverage = QImage(box.size(), QImage::Format_Alpha8);
        shaped.coverage.fill(0);
        QPainter painter(&shaped.coverage);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawStaticText(-box.topLeft(), shaped.layout);
    }
    return *kept.insert(key, shaped);
}

} // namespace ui
