// The main window's video playback: the one media player of the program shows
// a video inside the panel a caller names (the intro and closing videos, the
// slide windows' and the monitor's videos), starts its MIDI accompaniment,
// locks the main controls while it plays and unlocks them when it ends.
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/exceptions.h"
#include "platform/ui/sound.h"
#include "playback/videoplayer.h"

#include <QString>

namespace app {

using namespace platform;

namespace {

constexpr const char* kNoAccompaniment = "0";
constexpr const char* kLoadingLabelName = "LVideoLoading";
constexpr TColor kLoadingTextColor = 0xDDDDDD;
constexpr int kLoadingTextMargin = 16;

// The "loading" text written into a video panel, made once per panel.
TLabel* LoadingLabel(TPanel* panel) {
    auto* label = panel->findChild<TLabel*>(kLoadingLabelName, Qt::FindDirectChildrenOnly);
    if (label != nullptr) return label;
    label = new TLabel(panel);
    label->setObjectName(kLoadingLabelName);
    label->SetParent(panel);
    label->SetTransparent(true);
    label->SetShowAccelChar(false);
    label->Font()->SetColor(kLoadingTextColor);
    label->SetBounds(kLoadingTextMargin, kLoadingTextMargin, 0, 0);
    return label;
}

} // namespace

playback::VideoPlayer& TForm1::MidiPlayer() {
    if (!midiPlayer_) {
        midiPlayer_ = std::make_unique<playback::VideoPlayer>();
        midiPlayer_->OnNotify = [this] { MidiPlayerNotify(this); };
        midiPlayer_->OnError = [this](const QString& text) { VideoErrorBox(text); };
    }
    return *midiPlayer_;
}

bool TForm1::MediaPlayerPlaying() const {
    return midiPlayer_ && midiPlayer_->Playing();
}

// Stops the video (its notification follows) and sets the start back to 0.
void TForm1::StopMediaPlayer() {
    if (!midiPlayer_) return;
    midiPlayer_->Stop();
    midiPlayer_->Rewind();
}

void TForm1::PlayIntroVideo() {
    PlayVideo(IntroVideoPath, kNoAccompaniment, Rect(0, 0, 320, 240), 268, 264, VideoPanel);
}

void TForm1::VideoErrorBox(const QString& text) {
    AskMessage(ErrorText(3), text, "", "OK");
}

// ============================================================= PlayVideo

void TForm1::PlayVideo(const std::string& file, const std::string& midiFile,
                       const TRect& displayRect, int top, int left, TPanel* panel) {
    BVideoStop->SetEnabled(false);
    const QString loading = MessageText(31);
    if (!AnsiPathExists(file) || panel == nullptr) {
        BVideoStop->SetEnabled(true);
        return;
    }
    if (MediaPlayerPlaying()) EndRunningVideo();
    ShowVideoPanel(panel, left, top, displayRect, loading);
    if (OpenVideo(file, displayRect, panel)) {
        VideoPlaying = true;
        StartVideo(midiFile);
    }
    BVideoStop->SetEnabled(true);
}

// A video still playing when another starts ends here and now, so that its
// late notification cannot end the new one and the controls' saved states
// are those from before any video.
void TForm1::EndRunningVideo() {
    MidiPlayer().SetNotify(false);
    try {
        MidiPlayer().Stop();
        BStopClick(this);
    } catch (const std::exception& error) {
        AskMessage(ErrorText(6), QString::fromUtf8(error.what()), "", "OK");
    }
    if (VideoPlaying) {
        Midi().Stop();
        VideoPlaying = false;
        LockControls(true);
    }
    if (videoPanel_ != nullptr) videoPanel_->Hide();
}

void TForm1::ShowVideoPanel(TPanel* panel, int left, int top, TRect displayRect,
                            const QString& loading) {
    panel->SetBounds(left, top, displayRect.Right, displayRect.Bottom);
    panel->Show();
    TLabel* label = LoadingLabel(panel);
    label->SetCaption(loading);
    label->Show();
    videoPanel_ = panel;
}

// Opens the file in the panel; a file the player refuses is reported and
// leaves everything as it was before.
bool TForm1::OpenVideo(const std::string& file, TRect displayRect, TPanel* panel) {
    playback::VideoPlayer& player = MidiPlayer();
    try {
        player.SetDisplay(panel);
        player.SetFileName(QString::fromStdString(ResolveAnsiPath(file)));
        player.Open();
        player.SetDisplayRect(displayRect);
        player.SetNotify(true);
        return true;
    } catch (const std::exception& error) {
        player.Close();
        VideoPlaying = false;
        panel->Hide();
        BVideoStop->SetBgBmp(&VideoPlayBmp);
        BVideoStop->Repaint();
        VideoErrorBox(QString::fromUtf8(error.what()));
        return false;
    }
}

void TForm1::StartVideo(const std::string& midiFile) {
    try {
        LockControls(false);
        if (midiFile != kNoAccompaniment && AnsiPathExists(midiFile)) {
            if (Midi().LoadFile(ResolveAnsiPath(midiFile)) != 0) Midi().Start(0);
        }
        MidiPlayer().Play();
        BVideoStop->SetBgBmp(&VideoStopBmp);
        BVideoStop->Repaint();
    } catch (const std::exception& error) {
        VideoErrorBox(QString::fromUtf8(error.what()));
        MidiPlayer().SetNotify(false);
        MidiPlayer().Close();
        VideoPlaying = false;
        LockControls(true);
    }
}

// ====================================================== MidiPlayerNotify

void TForm1::MidiPlayerNotify(TObject*) {
    if (VideoPlaying) {
        try {
            VideoPanel->Hide();
            if (videoPanel_ != nullptr) videoPanel_->Hide();
            BVideoStop->SetBgBmp(&VideoPlayBmp);
            BVideoStop->Repaint();
            Midi().Stop();
        } catch (const std::exception& error) {
            VideoErrorBox(QString::fromUtf8(error.what()));
        }
        VideoPlaying = false;
        LockControls(true);
    }
    if (MidiPlayer().Mode() == playback::mpStopped) MidiPlayer().Close();
    BVideoStop->SetEnabled(true);
    if (IntroPending) {
        IntroPending = false;
        ShowGreetingScreen();
    }
}

} // namespace app
