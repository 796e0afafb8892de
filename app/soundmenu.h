#pragma once
// SoundDeviceMenu: the menu behind the sound-device label. It lists the MIDI
// output devices, chooses the one to play on at start from the stored
// setting, takes the learner's choice from the menu and stores the chosen
// device's name in the settings file.

#include "app/sounddevicechoice.h"
#include "platform/core/inifile.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/menus.h"

#include <QString>
#include <functional>

namespace app {

class SoundDeviceMenu {
public:
    // The menu belongs to `form`; the chosen device's hint shows on `label`.
    SoundDeviceMenu(platform::TForm* form, playback::ExerciseEngine& engine,
                    platform::TLabel* label);

    // Lists the devices now and chooses one from the event loop (the engine
    // loads its sound font meanwhile); `itemClick` answers the menu's
    // entries, `chosen` runs once the device is chosen.
    void Start(const QString& setting, const platform::TNotifyEvent& itemClick,
               std::function<void()> chosen);
    // The learner chose menu entry `index`.
    void ChooseEntry(int index);
    // Keeps the chosen device's name in `settings`.
    void Store(platform::IniFile& settings) const;

    platform::TPopupMenu* PopupSoundcard;
    SoundDeviceList Devices;
    QString SoundDeviceName;
    bool Chosen = false;

private:
    void Take(const SoundDeviceChoiceResult& chosen);

    platform::TForm* form_;
    playback::ExerciseEngine& engine_;
    platform::TLabel* label_;
};

} // namespace app
