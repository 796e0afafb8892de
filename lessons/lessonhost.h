#pragma once
// LessonHost: what the slide windows and the quiz need of the main window.
// They live below the main window and cannot reach it directly, so the main
// window hands them this interface: the lesson in use and the flags of the
// course, the list store, the sound cues, the picture loader, the media
// player, the message box, help, and the screens they hand back to.
//
// The program has one host, registered by the main window when it is built
// (SetLessonHost); the windows ask for it whenever they act (Host()).

#include "platform/ui/controls.h"
#include "platform/ui/graphics.h"

#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace plan {
class ListStore;
}

namespace lessons {

class SkinLoader;

class LessonHost {
public:
    virtual ~LessonHost() = default;

    // ---- State of the course (main window fields) -------------------------
    virtual int CurrentLesson() const = 0;
    virtual void SetCurrentLesson(int lesson) = 0;
    virtual int PreviousLesson() const = 0;
    virtual int PlayCount() const = 0;
    virtual bool OpenedFromLessonScreen() const = 0;
    virtual void SetOpenedFromLessonScreen(bool opened) = 0;
    virtual bool QuizIdle() const = 0;
    virtual void SetQuizIdle(bool idle) = 0;
    virtual bool QuizFinished() const = 0;
    virtual void SetQuizFinished(bool finished) = 0;
    virtual bool VideoPlaying() const = 0;
    virtual bool ExplorerMode() const = 0;
    // Windows-1252, ends in a path separator.
    virtual std::string ProgramFolder() const = 0;
    virtual int LanguageCode() const = 0;

    // ---- Owned objects ------------------------------------------------------
    virtual plan::ListStore& Lists() = 0;
    // Writes the plan and the waiting list to the learner's data folder now
    // (nothing on a CD-ROM); false when a list could not be written.
    virtual bool SaveListsNow() = 0;
    // The sound cues: the click, and the cue at a full path (Windows-1252).
    virtual void PlayClick() = 0;
    virtual void PlayNamedCue(const std::string& path) = 0;

    // ---- The screens of the main window -----------------------------------
    virtual void OpenLesson() = 0;
    virtual void ClearLessonScreen() = 0;
    virtual void ShowNoLessonScreen() = 0;
    virtual void RefreshPlanPanel() = 0;
    // Shows the practice plan's restart button ("Von Vorn").
    virtual void ShowRestartButton() = 0;

    // ---- Services -----------------------------------------------------------
    // Reads a JPEG file (Windows-1252 path) into a bitmap; false when it is
    // missing or unreadable (the latter is reported).
    virtual bool LoadJpegBitmap(platform::TBitmap* bitmap, const std::string& fileName) = 0;
    // Shows a JPEG file in a picture control, which takes its size.
    virtual void LoadPictureInto(platform::TImage* picture, const std::string& fileName) = 0;
    // The main window's media player; StopMediaPlayer may raise
    // platform::Exception.
    virtual bool MediaPlayerPlaying() const = 0;
    virtual void StopMediaPlayer() = 0;
    // Plays `videoFile` (with its accompaniment `midiFile`, "0" for none) in
    // `panel` at `top`, `left`, in the display rectangle `display`.
    virtual void PlayVideo(const std::string& videoFile, const std::string& midiFile,
                           const platform::TRect& display, int top, int left,
                           platform::TPanel* panel) = 0;
    // The program's message box: title, body, cancel caption (empty: OK
    // button alone), OK caption; returns 1 for OK, 2 for cancel.
    virtual int AskMessage(const QString& title, const QString& body, const QString& cancelCaption,
                           const QString& okCaption) = 0;
    // The action of the main window's help button.
    virtual void HelpButtonClick() = 0;
    // The taskbar question of key T: shows or hides the taskbar.
    virtual void AskTaskbarQuestion() = 0;
    // A skin of these windows named a picture that is there but cannot be
    // read (`fileName` as the skin writes it): the main window tells the
    // learner as it does for its own skins. Loading goes on afterwards.
    virtual void ReportPictureError(const std::string& fileName) = 0;
    // A quiz was evaluated: passed or not, and the box ticked in each
    // question (0 for none). The main window keeps it in the practice
    // journal; a host without one ignores it.
    virtual void QuizEvaluated(int /*lesson*/, bool /*passed*/, const std::vector<int>& /*answers*/) {}
};

// The host in use, or nullptr while there is none.
LessonHost* Host();
void SetLessonHost(LessonHost* host);

// A skin loader for `window` that hands its unreadable pictures to the host
// (the course windows never open a box of their own for them).
std::unique_ptr<SkinLoader> MakeSkinLoader(platform::TControl* window);

// Language texts as QString: caption, message and error text `number`.
QString CaptionText(int number);
QString MessageText(int number);
QString ErrorText(int number);

} // namespace lessons
