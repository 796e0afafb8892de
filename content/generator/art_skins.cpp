#include "content/generator/art_skins.h"

#include "layout/screenlayout.h"
#include "content/generator/art_jpeg.h"
#include "content/generator/art_paint.h"
#include "content/generator/art_scenes.h"
#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"
#include "platform/core/cp1252.h"

#include <QFile>
#include <QRegularExpression>
#include <cstdio>

namespace art {

namespace {

int SkinColour(QColor colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

bool IsInteger(const QString& text) {
    bool ok = false;
    text.toInt(&ok);
    return ok && text == text.trimmed();
}

struct SkinFile {
    const char* source; // template in sources/art
    const char* target; // file in the program folder
};

constexpr SkinFile kSkins[] = {
    {"StartScreen.zs1.in", "Screen/StartScreen.zs1"},
    {"lektionX-MainWin.zs1.in", "lektionX/MainWin.zs1"},
    {"lektionY-MainWin.zs1.in", "lektionY/MainWin.zs1"},
};

std::map<QString, int> LayoutValues() {
    return {{"lx", layout::LessonScreen.left()}, {"ly", layout::LessonScreen.top()}};
}

// The English edition's templates lie in sources/art/en under the same names.
bool WriteSkin(const content::GeneratorContext& context, const SkinFile& skin, content::Edition edition) {
    const std::string folder = edition == content::Edition::German ? "art" : "art/en";
    QFile file(QString::fromStdString((context.sources / folder / skin.source).string()));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "art: cannot read %s\n", skin.source);
        return false;
    }
    QStringList lines;
    QString error;
    if (!ExpandSkinTemplate(QString::fromUtf8(file.readAll()), LayoutValues(), lines, error) ||
        !(error = CheckSkin(lines)).isEmpty()) {
        std::fprintf(stderr, "art: %s: %s\n", skin.source, error.toLocal8Bit().constData());
        return false;
    }
    std::string bytes;
    for (const QString& line : lines) {
        if (platform::FromAnsi(platform::ToAnsi(line)) != line) {
            std::fprintf(stderr, "art: %s: not Windows-1252: %s\n", skin.source, line.toLocal8Bit().constData());
            return false;
        }
        bytes += platform::ToAnsi(line) + "\r\n";
    }
    return content::WriteEditionFile(context.out, edition, skin.target, bytes);
}

bool WriteSkins(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    bool ok = true;
    for (const content::Edition edition : content::kEditions) { // German first: the overlay compares with it
        SetSceneLanguage(edition == content::Edition::English);
        ok = content::WriteEditionFile(context.out, edition, "lektionY/Begruessung.jpg", EncodeJpeg(GreetingBackdrop())) && ok;
        ok = content::WriteEditionFile(context.out, edition, "lektionX/KeineLektion.jpg", EncodeJpeg(NoLessonBackdrop())) && ok;
        for (const SkinFile& skin : kSkins) ok = WriteSkin(context, skin, edition) && ok;
    }
    SetSceneLanguage(false);
    return ok;
}

content::StepRegistration registration{"art-skins", WriteSkins};

} // namespace

bool ExpandSkinTemplate(const QString& text, const std::map<QString, int>& values, QStringList& lines,
                        QString& error) {
    static const QRegularExpression placeholder(QStringLiteral(R"(\$\{(c:)?([a-z-]+)([+-]\d+)?\})"));
    lines.clear();
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        QString line = raw;
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.startsWith(QStringLiteral("//"))) continue;
        QString result;
        qsizetype last = 0;
        for (auto it = placeholder.globalMatch(line); it.hasNext();) {
            auto match = it.next();
            result += line.mid(last, match.capturedStart() - last);
            last = match.capturedEnd();
            const QString name = match.captured(2);
            if (!match.captured(1).isEmpty()) {
                if (!Colours().All().count(name.toStdString())) {
                    error = QStringLiteral("unknown colour ") + name;
                    return false;
                }
                result += QString::number(SkinColour(C(name.toStdString())));
                continue;
            }
            auto found = values.find(name);
            if (found == values.end()) {
                error = QStringLiteral("unknown value ") + name;
                return false;
            }
            result += QString::number(found->second + match.captured(3).toInt());
        }
        result += line.mid(last);
        lines << result;
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return true;
}

QString CheckSkin(const QStringList& lines) {
    if (lines.isEmpty()) return QStringLiteral("no header line");
    const std::map<QString, int> fields = {{"$L", 7}, {"$S", 6}, {"$I", 3}};
    int at = 1;
    while (at < lines.size()) {
        const QString keyword = lines[at];
        auto where = [&](const char* what) { return QStringLiteral("line %1: %2").arg(at).arg(QLatin1String(what)); };
        if (keyword == QStringLiteral("$C")) {
            if (at + 2 >= lines.size() || !IsInteger(lines[at + 1]) || !IsInteger(lines[at + 2]))
                return where("group without index and count");
            const int count = lines[at + 2].toInt();
            if (count < 1 || count > 6) return where("group count outside 1..6");
            for (int i = 0; i < 2 * count; ++i)
                if (at + 3 + i >= lines.size() || !IsInteger(lines[at + 3 + i])) return where("group box position");
            at += 3 + 2 * count;
            continue;
        }
        auto record = fields.find(keyword);
        if (record == fields.end()) return where("not a keyword");
        ++at;
        if (at < lines.size() && lines[at].startsWith(QStringLiteral("TAG"))) {
            if (!IsInteger(lines[at].mid(3))) return where("bad tag line");
            ++at;
        }
        const int numbers = keyword == QStringLiteral("$I") ? 2 : (keyword == QStringLiteral("$L") ? 2 : 6);
        if (at + record->second > lines.size()) return where("record cut short");
        for (int i = 0; i < numbers; ++i)
            if (!IsInteger(lines[at + i])) return where("position or size is no integer");
        if (keyword == QStringLiteral("$L")) {
            for (int i = 3; i < 6; ++i)
                if (!IsInteger(lines[at + i])) return where("font size, style or colour is no integer");
        }
        at += record->second;
    }
    return {};
}

} // namespace art
