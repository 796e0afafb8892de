#include "app/zupfariapp.h"

#include "platform/core/cp1252.h"
#include "platform/core/instancelock.h"
#include "sprachbank/sprachbank.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace app {
namespace {

constexpr const char* kInstanceName = "ZupfariBS";
constexpr const char* kApplicationTitle = "Zupfari Basis";

void ShowAlreadyRunning() {
    QMessageBox box(QMessageBox::Information, kApplicationTitle,
                    platform::FromAnsi(DLL_GetErrStr(15)), QMessageBox::Ok);
    box.exec();
}

} // namespace

int RunZupfari(int argc, char** argv) {
    platform::InstanceLock instance(kInstanceName);
    QApplication application(argc, argv);
    if (instance.HeldElsewhere()) {
        ShowAlreadyRunning();
        return 0;
    }
    QApplication::setApplicationName(kApplicationTitle);

    QLabel window(kApplicationTitle);
    window.setAlignment(Qt::AlignCenter);
    window.setWindowTitle(kApplicationTitle);
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}

} // namespace app
