// The main window's start-up and leaving: the choice of the MIDI output
// device, the notice about damaged list files, and the way out.

#include "app/fbeenden.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "app/testswitches.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/exceptions.h"

namespace app {

using namespace platform;

void TForm1::ProgramWindowsCreated() {
    Start->WindowsCreated();
}

// The device is chosen from the event loop, while the start screen shows.
void TForm1::StartSoundDeviceChoice() {
    const QString setting = Places->SettingsFile->ReadString(
        SoundDeviceChoice::kSettingsSection, SoundDeviceChoice::kSettingsKey,
        SoundDeviceChoice::kNoSetting);
    SoundMenu->Start(setting, [this](TObject* sender) { PopupSoundcardItemClick(sender); },
                     [this] { Start->DeviceChosen(); });
}

// A list file that could not be read is kept, and the learner told so.
void TForm1::TellAboutDamagedLists() {
    if (Lists->DamagedFiles().empty()) return;
    QString names;
    for (const std::string& file : Lists->DamagedFiles()) {
        const QString name = FromAnsi(file);
        names += name.mid(name.lastIndexOf('\\') + 1) + "\n";
    }
    AskMessage(MessageText(304), names + MessageText(305), "", CaptionText(1));
}

} // namespace app
