// skins_gallery: shows the gallery window (for a look, or a screenshot under
// Xvfb). With a number argument it closes itself after that many seconds.
#include "tests/skins/gallery.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    platform::TForm form(nullptr);
    lessons::SkinLoader loader(&form);
    gallery::Build(&form, &loader, folder.path().toStdString() + "/");
    form.Show();
    if (argc > 1) QTimer::singleShot(std::atoi(argv[1]) * 1000, [] { QCoreApplication::exit(0); });
    return app.exec();
}
