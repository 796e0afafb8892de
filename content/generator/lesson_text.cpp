#include "content/generator/lesson_text.h"

#include "content/generator/art_paint.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace art {

QFont LabelFont(int points, int style) {
    QFont font = Sans(static_cast<int>(std::floor(points * 96.0 / 72.0 + 0.5)), (style & 1) != 0, (style & 2) != 0);
    font.setKerning(false);
    return font;
}

QString BreakText(const QString& text, int points, int style, int width) {
    const QFontMetrics metrics(LabelFont(points, style));
    QStringList out;
    for (const QString& paragraph : text.split(QStringLiteral("$n"), Qt::KeepEmptyParts, Qt::CaseInsensitive)) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
                out << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        out << line;
    }
    return out.join(QStringLiteral("$n"));
}

QSize LabelSize(const QString& text, int points, int style) {
    const QFontMetrics metrics(LabelFont(points, style));
    const QStringList lines = text.split(QStringLiteral("$n"), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    int width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return {width, static_cast<int>(lines.size()) * (metrics.ascent() + metrics.descent())};
}

} // namespace art
