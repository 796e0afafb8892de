#include "app/soundmenu.h"

#include "platform/ui/exceptions.h"

#include <QTimer>

namespace app {

using namespace platform;

SoundDeviceMenu::SoundDeviceMenu(TForm* form, playback::ExerciseEngine& engine, TLabel* label)
    : PopupSoundcard(new TPopupMenu(form)), form_(form), engine_(engine), label_(label) {}

// Listing the devices starts the synthesizer's sound font loading on the
// engine's own loader; opening the chosen device waits for it, so the choice
// comes from the event loop, after the window's construction, while the start
// screen shows. Both run on this thread, the engine's.
void SoundDeviceMenu::Start(const QString& setting, const TNotifyEvent& itemClick,
                            std::function<void()> chosen) {
    Devices = SoundDeviceChoice(engine_).ListDevices();
    for (const QString& caption : Devices.Captions)
        PopupSoundcard->Add(caption, itemClick);
    QTimer::singleShot(0, form_, [this, setting, chosen = std::move(chosen)] {
        GuardedCall(form_, [&] {
            Take(SoundDeviceChoice(engine_).ChooseAtStart(Devices, setting));
            Chosen = true;
            chosen();
        });
    });
}

void SoundDeviceMenu::ChooseEntry(int index) {
    Take(SoundDeviceChoice(engine_).ChooseEntry(Devices, index));
}

void SoundDeviceMenu::Take(const SoundDeviceChoiceResult& chosen) {
    SoundDeviceName = chosen.DeviceName;
    if (!chosen.Hint.isEmpty()) label_->SetHint(chosen.Hint);
}

void SoundDeviceMenu::Store(IniFile& settings) const {
    settings.WriteString(SoundDeviceChoice::kSettingsSection, SoundDeviceChoice::kSettingsKey,
                         SoundDeviceName);
}

} // namespace app
