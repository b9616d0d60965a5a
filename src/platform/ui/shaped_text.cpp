#include "platform/ui/shaped_text.h"

#include <QFontMetrics>
#include <QHash>
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
    shaped.inked = metrics.boundingRect(text);
    return *kept.insert(key, shaped);
}

} // namespace ui
