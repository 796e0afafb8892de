#pragma once
// SoundDeviceChoice: lists the MIDI output devices for the sound-device menu
// and chooses the device to play on, from the stored setting or else the
// first synthesizer. It asks only the engine it is given, so that tests can
// hand it a pretend device list.

#include "app/shellservices.h"

#include <QString>
#include <QStringList>

namespace app {

// The devices as the menu shows them: one caption per device, then the
// mapper's when it is listed.
struct SoundDeviceList {
    QStringList Captions;
    unsigned short DeviceCount = 0;
    short MapperMenuIndex = -1; // -1: no mapper entry
    int DefaultDeviceIndex = 0; // the first synthesizer, else 0
};

// What a choice gives: the name stored in the settings and the label's hint.
struct SoundDeviceChoiceResult {
    QString DeviceName;
    QString Hint;
};

class SoundDeviceChoice {
public:
    static constexpr unsigned short kMapperId = 0xFFFF;
    static constexpr const char* kNoSetting = "FAILED";
    static constexpr const char* kMapperSetting = "MIDI MAPPER";
    static constexpr const char* kNotReady = "Not Ready";
    // Where the settings file keeps the chosen device.
    static constexpr const char* kSettingsSection = "Midi";
    static constexpr const char* kSettingsKey = "Soundcard";

    explicit SoundDeviceChoice(playback::ExerciseEngine& devices);

    // Asks the engine for its devices, their names and their technology.
    SoundDeviceList ListDevices();

    // The choice at start: `setting` is the stored value ("FAILED" when
    // there is none). Without devices nothing is selected and the name is the
    // first menu entry's (the mapper's), or empty.
    SoundDeviceChoiceResult ChooseAtStart(const SoundDeviceList& list, const QString& setting);

    // The learner chose menu entry `index`.
    SoundDeviceChoiceResult ChooseEntry(const SoundDeviceList& list, int index);

private:
    playback::ExerciseEngine& devices_;
};

} // namespace app
