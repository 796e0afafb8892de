#include "app/sounddevicechoice.h"

#include "platform/core/cp1252.h"

namespace app {

SoundDeviceChoice::SoundDeviceChoice(playback::ExerciseEngine& devices) : devices_(devices) {}

SoundDeviceList SoundDeviceChoice::ListDevices() {
    SoundDeviceList list;
    list.DeviceCount = static_cast<unsigned short>(devices_.NumDevs());
    bool defaultFound = false;
    for (unsigned short i = 0; i < list.DeviceCount; ++i) {
        std::string name;
        devices_.DeviceName(i, name);
        list.Captions << platform::FromAnsi(name);
        unsigned short technology = 0;
        // A synthesizer's technology code is even.
        if (!defaultFound && devices_.Technology(i, technology) && (technology & 1) == 0) {
            list.DefaultDeviceIndex = i;
            defaultFound = true;
        }
    }
    std::string mapperName;
    if (devices_.DeviceName(kMapperId, mapperName)) {
        list.Captions << platform::FromAnsi(mapperName);
        list.MapperMenuIndex = static_cast<short>(list.DeviceCount);
    }
    return list;
}

SoundDeviceChoiceResult SoundDeviceChoice::ChooseAtStart(const SoundDeviceList& list,
                                                         const QString& setting) {
    const QString first = list.Captions.isEmpty() ? QString() : list.Captions.front();
    if (list.DeviceCount == 0) return {first, first};
    if (setting == kNoSetting) {
        const QString name = list.Captions.value(list.DefaultDeviceIndex);
        devices_.SetDeviceByID(static_cast<unsigned short>(list.DefaultDeviceIndex));
        return {name, name};
    }
    if (setting == kMapperSetting) {
        devices_.SetDeviceByID(kMapperId);
        return {setting, setting};
    }
    if (devices_.SetDeviceByName(platform::ToAnsi(setting))) return {setting, setting};
    // The stored device is gone: the first one plays.
    devices_.SetDeviceByID(0);
    return {first, first};
}

SoundDeviceChoiceResult SoundDeviceChoice::ChooseEntry(const SoundDeviceList& list, int index) {
    const QString caption = list.Captions.value(index);
    if (index == list.MapperMenuIndex) {
        const bool ready = devices_.SetDeviceByID(kMapperId);
        return {kMapperSetting, ready ? caption : QString(kNotReady)};
    }
    QString hint;
    if (index >= 0 && index < list.DeviceCount) {
        const bool ready = devices_.SetDeviceByID(static_cast<unsigned short>(index));
        hint = ready ? caption : QString(kNotReady);
    }
    return {caption, hint};
}

} // namespace app
