#include "app/skinerrors.h"

#include "lessons/skinloader.h"
#include "platform/ui/application.h"

namespace app {

void ReportPictureErrors(lessons::SkinLoader& loader) {
    loader.OnPictureError = [](const std::string&) {
        platform::Application->MessageBox(QString::fromUtf8("Fehler beim Öffnen der Bild-Datei"),
                                          QString(), platform::MB_OK);
    };
}

} // namespace app
