#include "platform/ui/textlayout.h"

namespace platform::textlayout {

QString StripPrefix(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

namespace {

QStringList HardLines(const QString& text) {
    QString normalised = text;
    normalised.replace("\r\n", "\n");
    normalised.replace('\r', '\n');
    return normalised.split('\n');
}

// Greedy breaking of one hard line between words.
QStringList WrapLine(const QString& line, const QFontMetrics& metrics, int maxWidth) {
    QStringList out;
    QString current;
    const QStringList words = line.split(' ');
    for (const QString& word : words) {
        QString candidate = current.isEmpty() ? word : current + ' ' + word;
        if (!current.isEmpty() && metrics.horizontalAdvance(candidate) > maxWidth) {
            out << current;
            current = word;
        } else {
            current = candidate;
        }
    }
    out << current;
    return out;
}

} // namespace

QStringList BreakLines(const QString& text, const QFontMetrics& metrics, bool wordBreak,
                       int maxWidth) {
    const QStringList hard = HardLines(text);
    if (!wordBreak) return hard;
    QStringList out;
    for (const QString& line : hard)
        out << WrapLine(line, metrics, maxWidth);
    return out;
}

int WidestLine(const QStringList& lines, const QFontMetrics& metrics) {
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

int LineHeight(const QFontMetrics& metrics) {
    return metrics.ascent() + metrics.descent();
}

} // namespace platform::textlayout
