#include "app/skinerrors.h"

#include "lessons/skinloader.h"
#include "platform/ui/application.h"

namespace app {

void ShowPictureError(const std::string&) {
    platform::Application->MessageBox(QString::fromUtf8("Fehler beim Öffnen der Bild-Datei"),
                                      QString(), platform::MB_OK);
}

void ReportPictureErrors(lessons::SkinLoader& loader) {
    loader.OnPictureError = ShowPictureError;
}

} // namespace app
