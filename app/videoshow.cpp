#include "app/videoshow.h"

#include "app/msgwin.h"
#include "platform/core/pathresolver.h"

namespace app {

using namespace platform;

namespace {

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

VideoShow::VideoShow(VideoShowHost& host, playback::ExerciseEngine& engine, TPanel* introPanel)
    : host_(host), engine_(engine), introPanel_(introPanel) {}

VideoShow::~VideoShow() = default;

playback::VideoPlayer& VideoShow::Player() {
    if (!player_) {
        player_ = std::make_unique<playback::VideoPlayer>();
        player_->OnNotify = [this] { PlayerNotify(); };
        player_->OnError = [this](const QString& text) { TellError(3, text); };
    }
    return *player_;
}

bool VideoShow::PlayerPlaying() const {
    return player_ && player_->Playing();
}

void VideoShow::Stop() {
    if (!player_) return;
    player_->Stop();
    player_->Rewind();
}

void VideoShow::TellError(int number, const QString& text) {
    host_.AskMessage(ErrorText(number), text, "", "OK");
}

void VideoShow::Play(const std::string& file, const std::string& midiFile,
                     const TRect& displayRect, int top, int left, TPanel* panel) {
    host_.EnableVideoButton(false);
    if (!AnsiPathExists(file) || panel == nullptr) {
        host_.EnableVideoButton(true);
        return;
    }
    if (PlayerPlaying()) EndRunningVideo();
    ShowPanel(panel, left, top, displayRect);
    if (Open(file, displayRect, panel)) {
        Playing = true;
        Start(midiFile);
    }
    host_.EnableVideoButton(true);
}

// A video still playing when another starts ends here and now, so that its
// late notification cannot end the new one and the controls' saved states
// are those from before any video.
void VideoShow::EndRunningVideo() {
    Player().SetNotify(false);
    try {
        Player().Stop();
        host_.StopExercise();
    } catch (const std::exception& error) {
        TellError(6, QString::fromUtf8(error.what()));
    }
    if (Playing) {
        engine_.Stop();
        Playing = false;
        host_.LockControls(true);
    }
    if (panel_ != nullptr) panel_->Hide();
}

void VideoShow::ShowPanel(TPanel* panel, int left, int top, TRect displayRect) {
    panel->SetBounds(left, top, displayRect.Right, displayRect.Bottom);
    panel->Show();
    TLabel* label = LoadingLabel(panel);
    label->SetCaption(MessageText(31));
    label->Show();
    panel_ = panel;
}

// Opens the file in the panel; a file the player refuses is told and leaves
// everything as it was before.
bool VideoShow::Open(const std::string& file, TRect displayRect, TPanel* panel) {
    playback::VideoPlayer& player = Player();
    try {
        player.SetDisplay(panel);
        player.SetFileName(QString::fromStdString(ResolveAnsiPath(file)));
        player.Open();
        player.SetDisplayRect(displayRect);
        player.SetNotify(true);
        return true;
    } catch (const std::exception& error) {
        player.Close();
        Playing = false;
        panel->Hide();
        host_.ShowVideoButton(false);
        TellError(3, QString::fromUtf8(error.what()));
        return false;
    }
}

void VideoShow::Start(const std::string& midiFile) {
    try {
        host_.LockControls(false);
        if (midiFile != kNoAccompaniment && AnsiPathExists(midiFile)) {
            if (engine_.LoadFile(ResolveAnsiPath(midiFile)) != 0) engine_.Start(0);
        }
        Player().Play();
        host_.ShowVideoButton(true);
    } catch (const std::exception& error) {
        TellError(3, QString::fromUtf8(error.what()));
        Player().SetNotify(false);
        Player().Close();
        Playing = false;
        host_.LockControls(true);
    }
}

void VideoShow::PlayerNotify() {
    if (Playing) {
        try {
            if (introPanel_ != nullptr) introPanel_->Hide();
            if (panel_ != nullptr) panel_->Hide();
            host_.ShowVideoButton(false);
            engine_.Stop();
        } catch (const std::exception& error) {
            TellError(3, QString::fromUtf8(error.what()));
        }
        Playing = false;
        host_.LockControls(true);
    }
    if (Player().Mode() == playback::mpStopped) Player().Close();
    host_.EnableVideoButton(true);
    host_.VideoEnded();
}

} // namespace app
