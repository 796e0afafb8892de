#include "content/generator/lesson_skins.h"

#include "platform/core/cp1252.h"

namespace art {

int SkinColour(QColor colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

void SkinWriter::Label(QPoint at, int points, int style, QColor colour, const QString& text, int tag) {
    lines_ << QStringLiteral("$L");
    if (tag != 0) lines_ << QStringLiteral("TAG%1").arg(tag);
    lines_ << QString::number(at.x()) << QString::number(at.y()) << QStringLiteral("Arial")
           << QString::number(points) << QString::number(style) << QString::number(SkinColour(colour)) << text;
}

void SkinWriter::Shape(const QRect& rect, QColor fill, QColor border, int tag) {
    lines_ << QStringLiteral("$S");
    if (tag != 0) lines_ << QStringLiteral("TAG%1").arg(tag);
    lines_ << QString::number(rect.left()) << QString::number(rect.top()) << QString::number(rect.width())
           << QString::number(rect.height()) << QString::number(SkinColour(fill))
           << QString::number(SkinColour(border));
}

void SkinWriter::Image(QPoint at, const QString& file, int tag) {
    lines_ << QStringLiteral("$I");
    if (tag != 0) lines_ << QStringLiteral("TAG%1").arg(tag);
    lines_ << QString::number(at.x()) << QString::number(at.y()) << file;
}

void SkinWriter::Group(int index, const std::vector<QPoint>& boxes) {
    lines_ << QStringLiteral("$C") << QString::number(index) << QString::number(boxes.size());
    for (const QPoint& box : boxes) lines_ << QString::number(box.x()) << QString::number(box.y());
}

bool SkinWriter::Encode(std::string& bytes, QString& error) const {
    bytes.clear();
    for (const QString& line : lines_) {
        const std::string ansi = platform::ToAnsi(line);
        if (platform::FromAnsi(ansi) != line) {
            error = QStringLiteral("not Windows-1252: ") + line;
            return false;
        }
        bytes += ansi + "\r\n";
    }
    return true;
}

} // namespace art
