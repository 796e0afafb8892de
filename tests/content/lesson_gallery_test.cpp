// Contact sheets of the generated lessons as the program shows them: each
// skin loaded by the program's own SkinLoader into an 800 x 600 form over the
// window's background, the backdrop tinted, the form grabbed. Written to
// build/gallery/lessons.png (the 30 main screens), slides.png (every slide
// window), quizzes.png and pictures.png (every slide picture at its own
// size), each screen also full size in screens/, to be looked at; the test
// checks the sheets hold a screen for every skin. The English edition, found through the path
// resolver's overlay as the program finds it, goes to lessons-en.png,
// slides-en.png, quizzes-en.png, pictures-en.png and screens/en/.

#include "lessons/registrydata.h"
#include "lessons/skinloader.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kColumns = 5;
constexpr double kScale = 0.4;

// Restores the current folder when the test ends (the skin loader changes it).
class CurrentFolder {
public:
    CurrentFolder() : saved_(QDir::currentPath()) {}
    ~CurrentFolder() { QDir::setCurrent(saved_); }

private:
    QString saved_;
};

// The file names of a skin's pictures in file order, as paths of this system.
QStringList PictureNames(const QString& skin) {
    QFile file(skin);
    file.open(QIODevice::ReadOnly);
    const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    QStringList names;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i] != QStringLiteral("$I")) continue;
        qsizetype at = i + 1;
        if (at < lines.size() && lines[at].startsWith(QStringLiteral("TAG"))) ++at;
        if (at + 2 < lines.size()) names << platform::ResolvePath(QStringLiteral(ZUPFARI_PROGRAM_FOLDER "/") + lines[at + 2]);
    }
    return names;
}

// The screen of one skin over `background`, or a null image when the skin is missing.
QImage Screen(const QString& name, const QString& header, const QString& background) {
    const QString skin = platform::ResolvePath(name);
    if (!QFile::exists(skin)) return {};
    platform::TForm form(nullptr);
    form.SetBounds(0, 0, 800, 600);
    auto* back = new platform::TImage(&form);
    back->SetParent(&form);
    back->SetBounds(0, 0, 800, 600);
    back->Picture()->Assign(QImage(platform::ResolvePath(background)).convertToFormat(QImage::Format_BGR888));
    lessons::SkinLoader loader(&form);
    loader.LoadSkin(skin, header);
    // The loader reads pictures from the folder of the running program, which
    // for this test is not the program folder: give each its picture here.
    const QStringList names = PictureNames(skin);
    const auto& pictures = loader.Pictures(); // newest first
    for (std::size_t i = 0; i < pictures.size() && i < static_cast<std::size_t>(names.size()); ++i) {
        const QImage image(names[static_cast<qsizetype>(pictures.size() - 1 - i)]);
        if (image.isNull()) continue;
        platform::TImage* control = pictures[i]->Image();
        control->Picture()->Assign(image.convertToFormat(QImage::Format_BGR888));
        control->SetBounds(control->Left(), control->Top(), image.width(), image.height());
    }
    for (const auto& picture : loader.Pictures())
        if (picture->Image()->Tag() == 200) lessons::BackdropTint(&form, picture->Image());
    form.Show();
    QImage shot = form.grab().toImage();
    form.Hide();
    return shot;
}

// Lays the screens out in a sheet, each labelled, and saves it; `size` is
// the size of a screen on the sheet.
int SaveSheet(const std::vector<std::pair<QString, QImage>>& screens, const QString& file,
              QSize size = QSize(static_cast<int>(800 * kScale), static_cast<int>(600 * kScale)), int columns = kColumns) {
    const int w = size.width(), h = size.height();
    const int rows = (static_cast<int>(screens.size()) + columns - 1) / columns;
    QImage sheet(columns * (w + 8) + 8, rows * (h + 24) + 8, QImage::Format_RGB32);
    sheet.fill(QColor(40, 30, 24));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const int x = 8 + static_cast<int>(i % columns) * (w + 8), y = 8 + static_cast<int>(i / columns) * (h + 24);
        p.setPen(Qt::white);
        p.drawText(x, y + 12, screens[i].first);
        p.drawImage(QRect(x, y + 16, w, h), screens[i].second);
    }
    p.end();
    QDir().mkpath(QStringLiteral(GALLERY_FOLDER));
    return sheet.save(QStringLiteral(GALLERY_FOLDER "/") + file) ? static_cast<int>(screens.size()) : -1;
}

// The overlay of one edition on for the life of the object, as the program
// sets it at start-up.
class Edition {
public:
    explicit Edition(bool english) : english_(english) {
        const QString program = QStringLiteral(ZUPFARI_PROGRAM_FOLDER);
        platform::SetContentOverlay(program, english ? program + "/" + lessons::kEnglishEditionFolder : QString());
    }
    ~Edition() { platform::SetContentOverlay(QString(), QString()); }
    // "lessons.png" or "lessons-en.png"; "screens/" or "screens/en/".
    QString Sheet(const char* name) const { return QString::fromUtf8(name) + (english_ ? "-en.png" : ".png"); }
    QString Screens() const { return QStringLiteral(GALLERY_FOLDER "/screens/") + (english_ ? "en/" : ""); }

private:
    bool english_;
};

void SaveGallery(const Edition& edition) {
    CurrentFolder keep;
    std::vector<std::pair<QString, QImage>> main, slides, quizzes;
    for (int lesson = 0; lesson < 30; ++lesson) {
        const QString folder = QStringLiteral(ZUPFARI_PROGRAM_FOLDER "/lektion%1/").arg(lesson);
        const QString header = lesson >= 1 && lesson <= 3 ? QString::number(lesson) : QStringLiteral("0");
        QImage shot = Screen(folder + "MainWin.zs1", header, QStringLiteral(ZUPFARI_PROGRAM_FOLDER "/Bilder/hintergrund.jpg"));
        ASSERT_FALSE(shot.isNull()) << "lesson " << lesson;
        main.push_back({QStringLiteral("Lektion %1").arg(lesson), shot});
        QDir().mkpath(edition.Screens());
        shot.save(edition.Screens() + QStringLiteral("lektion%1.png").arg(lesson));
        for (const char* window : {"A", "B", "C"}) {
            shot = Screen(folder + "Win" + window + ".zs1", header, QStringLiteral(ZUPFARI_PROGRAM_FOLDER "/Bilder/hintergrundA.jpg"));
            if (shot.isNull()) continue;
            slides.push_back({QStringLiteral("Lektion %1, Fenster %2").arg(lesson).arg(window), shot});
            shot.save(edition.Screens() + QStringLiteral("lektion%1-%2.png").arg(lesson).arg(window));
        }
        shot = Screen(folder + "Kontrolle.zs1", "0", QStringLiteral(ZUPFARI_PROGRAM_FOLDER "/Bilder/hintergrundQ.jpg"));
        ASSERT_FALSE(shot.isNull()) << "lesson " << lesson;
        quizzes.push_back({QStringLiteral("Kontrolle %1").arg(lesson), shot});
        shot.save(edition.Screens() + QStringLiteral("kontrolle%1.png").arg(lesson));
    }
    EXPECT_EQ(SaveSheet(main, edition.Sheet("lessons")), 30);
    EXPECT_GT(SaveSheet(slides, edition.Sheet("slides")), 30);
    EXPECT_EQ(SaveSheet(quizzes, edition.Sheet("quizzes")), 30);
    // Every slide picture at its own size, as the slide windows show them.
    std::vector<std::pair<QString, QImage>> pictures;
    for (int lesson = 0; lesson < 30; ++lesson)
        for (const char* window : {"A", "B", "C"})
            for (int k = 1; k <= 4; ++k) {
                const QString name = QStringLiteral("lektion%1/Dia%2%3.jpg").arg(lesson).arg(window).arg(k);
                const QImage picture(platform::ResolvePath(QStringLiteral(ZUPFARI_PROGRAM_FOLDER "/") + name));
                if (!picture.isNull()) pictures.push_back({name, picture});
            }
    EXPECT_GE(SaveSheet(pictures, edition.Sheet("pictures"), QSize(192, 144), 8), 84);
}

TEST(LessonGallery, ContactSheetsOfEveryLessonScreen) {
    SaveGallery(Edition(false));
}

TEST(LessonGallery, ContactSheetsOfTheEnglishEdition) {
    SaveGallery(Edition(true));
}

} // namespace
