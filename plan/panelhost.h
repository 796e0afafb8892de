#pragma once
// PanelHost: what the panels of the main window's left column (practice
// plan, tuner, explorer, monitor) ask of the main window. The main window
// implements it; the panels know nothing else of it.

#include "platform/ui/controls.h"
#include "platform/ui/types.h"

#include <QString>
#include <string>

namespace plan {

class PanelHost {
public:
    virtual ~PanelHost() = default;

    // State of the main window.
    virtual std::string ProgramFolder() const = 0; // Windows-1252, ends in a separator
    virtual bool VideoPlaying() const = 0;
    virtual int CurrentLesson() const = 0;
    virtual void SetCurrentLesson(int lesson) = 0;
    // The lesson open before "Neue Übung" (the slides go back to it when a
    // new lesson is abandoned).
    virtual void SetPreviousLesson(int lesson) = 0;
    virtual void SetOpenedFromLessonScreen(bool opened) = 0;

    // The lesson screen and the lesson windows.
    virtual void OpenLesson() = 0;
    virtual void OpenSlidesA() = 0;
    virtual void ResetCourse() = 0;
    virtual void ClearLessonScreen() = 0;
    virtual void ShowNoLessonScreen() = 0;
    virtual void ShowPlanEntryButton() = 0; // BVonVorn after a lesson entered the plan

    // Media: the video player and the transport.
    virtual bool MediaPlayerPlaying() const = 0;
    virtual void StopMediaPlayer() = 0;
    virtual void StopTransport() = 0; // the action of the transport's stop button
    // Plays `video` in `panel` inside `rect` with the accompaniment `midiFile`
    // (or "0" for none); top and left place the panel in the main window.
    virtual void PlayVideo(const std::string& video, const std::string& midiFile,
                           const platform::TRect& rect, int top, int left,
                           platform::TPanel* panel) = 0;

    // The program's message box: 1 for OK, 2 for cancel; an empty cancel
    // caption gives a box with the OK button alone.
    virtual int AskMessage(const QString& title, const QString& body, const QString& cancel,
                           const QString& ok) = 0;
    // Loads a JPEG (Windows-1252 path) into a picture; a missing file gives
    // the missing-picture fill.
    virtual void LoadPictureInto(platform::TImage* picture, const std::string& fileName) = 0;
};

} // namespace plan
