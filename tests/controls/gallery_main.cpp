// skins_gallery: shows the gallery window (for a look, or a screenshot under
// Xvfb). With a number argument it closes itself after that many seconds;
// "--save file.png" writes a picture of the window and ends.
#include "tests/controls/gallery.h"

#include <QApplication>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    platform::TForm form(nullptr);
    lessons::SkinLoader loader(&form);
    gallery::Build(&form, &loader, folder.path().toStdString() + "/");
    form.Show();
    if (argc > 2 && QString(argv[1]) == "--save")
        return form.grab().toImage().save(argv[2]) ? 0 : 1;
    if (argc > 1) QTimer::singleShot(std::atoi(argv[1]) * 1000, [] { QCoreApplication::exit(0); });
    return app.exec();
}
