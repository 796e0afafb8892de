#pragma once
// Writes skin files record by record: labels, rectangles, pictures and
// tick-box groups, in Windows-1252 with CR LF, as the program's skin loader
// reads them.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace art {

class SkinWriter {
public:
    explicit SkinWriter(const QString& header) { lines_ << header; }

    // A label; `text` may hold "$n" line breaks. Style: 1 bold, 2 italic, 4 underline.
    void Label(QPoint at, int points, int style, QColor colour, const QString& text, int tag = 0);
    void Shape(const QRect& rect, QColor fill, QColor border, int tag = 0);
    void Image(QPoint at, const QString& file, int tag = 0);
    void Group(int index, const std::vector<QPoint>& boxes);

    const QStringList& Lines() const { return lines_; }
    // The file's bytes; false when a text cannot be written in Windows-1252.
    bool Encode(std::string& bytes, QString& error) const;

private:
    QStringList lines_;
};

// A colour as a skin writes it: 0x00BBGGRR in decimal.
int SkinColour(QColor colour);

} // namespace art
