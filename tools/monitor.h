#pragma once
// MonitorPanel: the monitor on the main window's panel PMonitor. It shows
// the open lesson's pictures ("DiaA1".."DiaA4"), stepped through with the
// picture button, and plays its videos ("Video1".."Video3", each with an
// optional MIDI accompaniment of the same name) over the picture.

#include "controls/aquabutton.h"
#include "plan/panelhost.h"
#include "platform/ui/controls.h"
#include "playback/soundcues.h"

#include <array>
#include <string>

namespace tools {

class MonitorPanel {
public:
    static constexpr int kButtons = 4;
    static constexpr int kPictures = 4;

    // Works on `panel` (PMonitor); `videoPanel` is the main window's video frame.
    MonitorPanel(platform::TPanel* panel, platform::TPanel* videoPanel, plan::PanelHost& host,
                 playback::SoundCues& cues);

    // Background, region, the picture, the four buttons (once).
    void BuildMonitorPanel();
    // The monitor is opened on `lesson`: its pictures from the start.
    void SetLesson(int lesson);
    // A lesson opened: its pictures from the start and none shown yet; a
    // monitor that is up at that moment shows the lesson's first picture and
    // its buttons at once rather than the lesson before's.
    void LessonOpened(int lesson);
    // Shows the next existing picture after PictureNumber, wrapping 4 -> 1.
    void NextPicture(platform::TImage* image);
    // Shows exactly the buttons whose files exist for the open lesson.
    void UpdateMonitorButtons();

    void PictureButtonClick();
    void PlayMonitorVideo(controls::TXAquaButton* button);

    // "lektion" N "\\" + name, relative to the program folder (Windows-1252).
    std::string LessonFile(const std::string& name) const;

    platform::TImage* ImgMonBG = nullptr;
    platform::TImage* ImgMon1 = nullptr;
    std::array<controls::TXAquaButton*, kButtons> MonitorButtons{};
    std::string SlidePicturePrefix;
    int PictureNumber = 0;
    platform::TRect MonitorRect{0, 0, 192, 144};

private:
    void PlayPhotoCue();

    platform::TPanel* panel_;
    platform::TPanel* videoPanel_;
    plan::PanelHost& host_;
    playback::SoundCues& cues_;
    int lesson_ = -1;
    platform::TBitmap background_;
};

} // namespace tools
