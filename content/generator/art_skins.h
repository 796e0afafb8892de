#pragma once
// Skin files of the start, greeting and no-lesson screens, made from the
// readable templates in sources/art/*.zs1.in: notes dropped, layout values
// and palette colours filled in, written in Windows-1252 with CR LF.

#include <QString>
#include <QStringList>
#include <map>
#include <string>

namespace art {

// Fills a template: drops "//" note lines, replaces ${name}, ${name+N},
// ${name-N} from `values` and ${c:colour} with the palette colour as a
// 0x00BBGGRR decimal. Returns false with `error` set on an unknown name.
bool ExpandSkinTemplate(const QString& text, const std::map<QString, int>& values, QStringList& lines,
                        QString& error);

// Checks the record structure of a skin (header, keywords, tag lines,
// integer fields, whole records); returns an empty text when it is sound.
QString CheckSkin(const QStringList& lines);

} // namespace art
