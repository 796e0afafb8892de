#include "tools/monitor.h"

#include "layout/screenlayout.h"
#include "plan/planpanel.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "sprachbank/sprachbank.h"

namespace tools {

using namespace platform;

namespace {
constexpr int kMonitorButtonTransparency = 40;
constexpr const char* kPhotoCue = "ClickSounds\\foto.wav";
} // namespace

MonitorPanel::MonitorPanel(TPanel* panel, TPanel* videoPanel, plan::PanelHost& host,
                           playback::SoundCues& cues)
    : panel_(panel), videoPanel_(videoPanel), host_(host), cues_(cues) {}

void MonitorPanel::BuildMonitorPanel() {
    ImgMonBG = new TImage(panel_);
    ImgMonBG->SetName("ImgMonBG");
    plan::DressToolPanel(panel_, ImgMonBG, host_, "Bilder\\MonitorBG.jpg", &background_);

    ImgMon1 = new TImage(panel_);
    ImgMon1->SetName("ImgMon1");
    ImgMon1->SetParent(panel_);
    ImgMon1->SetBounds(layout::ImgMon1.x(), layout::ImgMon1.y(), layout::ImgMon1.width(),
                       layout::ImgMon1.height());
    videoPanel_->Hide();
    videoPanel_->SetBounds(ImgMon1->Left(), ImgMon1->Top(), 192, 144);
    MonitorRect = Rect(0, 0, 192, 144);

    for (int i = 0; i < kButtons; ++i) {
        auto* button = new controls::TXAquaButton(panel_);
        button->SetParent(panel_);
        button->SetBounds(266, 40 + 32 * i, 60, 16);
        button->SetText("Video " + QString::number(i));
        plan::StylePanelButton(button, background_, kMonitorButtonTransparency);
        button->SetTag(i);
        button->OnClick = [this, button](TObject*) { PlayMonitorVideo(button); };
        MonitorButtons[i] = button;
    }
    MonitorButtons[0]->SetText(FromAnsi(DLL_GetCaption(28)));
    MonitorButtons[0]->OnClick = [this](TObject*) { PictureButtonClick(); };
}

void MonitorPanel::SetLesson(int lesson) {
    lesson_ = lesson;
    SlidePicturePrefix = host_.ProgramFolder() + LessonFile("DiaA");
    PictureNumber = 0;
}

void MonitorPanel::LessonOpened(int lesson) {
    SetLesson(lesson);
    ImgMon1->Picture()->SetSize(0, 0);
    if (!panel_->Visible()) return;
    NextPicture(ImgMon1);
    UpdateMonitorButtons();
}

std::string MonitorPanel::LessonFile(const std::string& name) const {
    return "lektion" + std::to_string(lesson_) + "\\" + name;
}

void MonitorPanel::NextPicture(TImage* image) {
    const int start = PictureNumber;
    for (int step = 0; step < kPictures; ++step) {
        PictureNumber = PictureNumber % kPictures + 1;
        if (PictureNumber == start) return;
        const std::string file = SlidePicturePrefix + std::to_string(PictureNumber) + ".jpg";
        if (AnsiPathExists(file)) {
            host_.LoadPictureInto(image, file);
            return;
        }
    }
}

void MonitorPanel::UpdateMonitorButtons() {
    const std::string folder = host_.ProgramFolder();
    MonitorButtons[0]->SetVisible(lesson_ >= 0 && AnsiPathExists(folder + LessonFile("diaa2.jpg")));
    for (int i = 1; i < kButtons; ++i) {
        const bool present =
            lesson_ >= 0 && AnsiPathExists(folder + LessonFile("Video" + std::to_string(i) + ".avi"));
        MonitorButtons[i]->SetVisible(present);
        if (present) MonitorButtons[1]->SetText(i == 1 ? "Video" : "Video 1");
    }
}

void MonitorPanel::PlayPhotoCue() {
    cues_.PlayNamedCue(host_.ProgramFolder() + kPhotoCue, true, false);
}

void MonitorPanel::PictureButtonClick() {
    if (host_.VideoPlaying()) return;
    PlayPhotoCue();
    NextPicture(ImgMon1);
}

void MonitorPanel::PlayMonitorVideo(controls::TXAquaButton* button) {
    if (host_.VideoPlaying()) return;
    button->SetEnabled(false);
    PlayPhotoCue();
    const std::string base =
        host_.ProgramFolder() + LessonFile("Video" + std::to_string(button->Tag()));
    const std::string video = base + ".avi";
    // "0" tells the player there is no accompaniment.
    const std::string accompaniment = AnsiPathExists(base + ".mid") ? base + ".mid" : "0";
    button->SetEnabled(true);
    host_.PlayVideo(video, accompaniment, MonitorRect, panel_->Top() + ImgMon1->Top(),
                    panel_->Left() + ImgMon1->Left(), videoPanel_);
}

} // namespace tools
