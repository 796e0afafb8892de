#pragma once
// TForm1: the main window of Zupfari Basis. It finds the program and data
// folders, shows the start screen, builds and owns everything the course
// needs (lists, sounds, skin loader, transport, panels, the course session),
// chooses the MIDI output device, greets the learner, answers the keys and
// leads the way out of the program so that no progress is lost. Its
// handlers are thin: the Transport plays the exercise, the CourseSession
// keeps the learner's course, the panels do their own work.
//
// Its controls and their look (backgrounds, skinned buttons, LED panel) are
// the MainWindowLook's; the middle of the window is the MainScreen's.

#include "app/helpdesk.h"
#include "app/leavingsequence.h"
#include "app/mainaccess.h"
#include "app/mainlook.h"
#include "app/mainscreen.h"
#include "app/practicejournal.h"
#include "app/programplaces.h"
#include "app/soundmenu.h"
#include "app/startsequence.h"
#include "app/toolcolumn.h"
#include "app/transportkeys.h"
#include "app/videodesk.h"
#include "app/videoshow.h"
#include "controls/aquabutton.h"
#include "controls/fadebutton.h"
#include "controls/trackbar.h"
#include "lessons/coursesession.h"
#include "lessons/skinloader.h"
#include "plan/liststore.h"
#include "platform/core/contentpaths.h"
#include "platform/core/inifile.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"
#include "platform/ui/menus.h"
#include "platform/ui/sessionend.h"
#include "platform/ui/timer.h"
#include "playback/playcursor.h"
#include "playback/practiceclock.h"
#include "playback/soundcues.h"
#include "playback/transport.h"
#include "playback/videoplayer.h"
#include "tools/playalong.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace app {

class TForm1 : public platform::TForm,
               public MainWindowLook,
               public lessons::CourseWindow {
public:
    // `services`: the MIDI engine, drive test and program folder (the real
    // ones unless a test passes its own).
    explicit TForm1(platform::TComponent* owner, ShellServices services = {});
    ~TForm1() override;

    // ---- Controls of the window ------------------------------------------
    // (the form resource's own are the MainWindowLook's)
    controls::TXAquaButton *BVonVorn = nullptr, *BNext = nullptr; // on the practice plan panel
    controls::TXFadeButton* BRemove = nullptr; // hidden: removes the current plan entry
    // The transport's keys, tempo bar and poll timer as the transport sees them.
    std::unique_ptr<TransportKeys> Keys;
    // The sound-device label's menu and the chosen device.
    std::unique_ptr<SoundDeviceMenu> SoundMenu;

    // ---- State -----------------------------------------------------------
    // The program and data folders, the settings file, the language, the start count.
    std::unique_ptr<ProgramPlaces> Places;
    bool ImportantFilesPresent = true;
    bool TaskbarShown = true;
    std::string SlidePicturePrefix;

    // The start screen, and when the window comes.
    std::unique_ptr<StartSequence> Start;
    // The web site's questions and the way out.
    std::unique_ptr<LeavingSequence> Leaving;

    // ---- Owned objects ---------------------------------------------------
    std::unique_ptr<plan::ListStore> Lists;
    std::unique_ptr<playback::SoundCues> Cues;
    std::unique_ptr<lessons::SkinLoader> Skin;
    std::unique_ptr<playback::ClockDisplay> Clock;
    // The learner's course: open lesson, plan entry, quiz flags.
    std::unique_ptr<lessons::CourseSession> Course;
    std::unique_ptr<playback::PlayCursor> PlayCursor;
    std::unique_ptr<playback::Transport> Transport;
    // The video button, what it plays, the controls locked meanwhile.
    std::unique_ptr<VideoDesk> Videos;
    // The left column: practice plan, tuner, explorer, monitor.
    std::unique_ptr<ToolColumn> Tools;
    std::unique_ptr<tools::PlayAlongPanel> PlayAlong; // "Mitspielen prüfen", a transport observer
    std::unique_ptr<platform::SessionEndGuard> SessionEnd;
    // The media player at work: videos and their accompaniment.
    std::unique_ptr<VideoShow> Video;
    // The help, at the page asked for.
    std::unique_ptr<HelpDesk> Help;

    // The middle of the window as its skin file lays it out.
    std::unique_ptr<MainScreen> Screen;

    // The hidden tester key: Shift + this letter.
    static constexpr platform::WORD kTesterKey = 'K';

    // ---- Handlers (mainwindow.cpp) -----------------------------------------
    void FormCreate(platform::TObject* Sender);
    void FormShow(platform::TObject* Sender);
    void FormPaint(platform::TObject* Sender);
    void FormCloseQuery(platform::TObject* Sender, bool& CanClose);
    void FormKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);
    void BHilfeClick(platform::TObject* Sender);
    // The help at `topic` (a page of the help, "tuner.html"), and the page
    // of the screen in view.
    void ShowHelp(platform::TObject* Sender, const QString& topic);
    QString HelpTopic() const;
    void BLogoClick(platform::TObject* Sender);
    void BVideoStopClick(platform::TObject* Sender);
    void BBeendenClick(platform::TObject* Sender);
    void Timer2Timer(platform::TObject* Sender);
    void LSoundcardClick(platform::TObject* Sender);
    void PopupSoundcardItemClick(platform::TObject* Sender);
    void StartScreenTimerTimer(platform::TObject* Sender);
    bool ProgramOnCdRom() const;
    // Key T: asks whether the taskbar shows.
    void AskTaskbarQuestion() override;

    // ---- Transport (mainwindow_transport.cpp) --------------------------------
    // The transport's and the quiz button's actions are virtual: tests watch
    // which one a key leads to.
    virtual void BPlayClick(platform::TObject* Sender);
    virtual void BPauseClick(platform::TObject* Sender);
    virtual void BStopClick(platform::TObject* Sender);
    void BLoopClick(platform::TObject* Sender);
    void BForwardClick(platform::TObject* Sender);
    void BRewindClick(platform::TObject* Sender);
    void BLocatorClick(platform::TObject* Sender);
    void TimerPC1Timer(platform::TObject* Sender);
    void TrBarTempoMouseMove(platform::TObject* Sender, platform::TShiftState Shift, int X, int Y);
    void TrBarTempoMouseUp(platform::TObject* Sender, platform::TMouseButton Button,
                           platform::TShiftState Shift, int X, int Y);
    void TrBarTempoChange(platform::TObject* Sender);
    void DisableTransport();

    // ---- The lesson screen (lessonscreen.cpp, mainwindow_lessons.cpp) -------
    // Opens Course->CurrentLesson(); nothing for a number outside 0..29
    // (virtual: tests watch the slide windows call it).
    void OpenLesson() override;
    void ClearLessonScreen() override;
    void ShowNoLessonScreen() override;
    void ShowGreetingScreen();
    void BWeiterClick(platform::TObject* Sender);
    // Shows the open lesson's passes at the top level (hidden without a
    // lesson and in explorer mode).
    void ShowPassProgress();
    void PassProgressChanged() override;
    void ResetCourse();
    void CourseWasReset() override;
    // The point at the cursor's position, erasing the one shown before when
    // `erase` is set.
    void MovePlayPoint(bool erase);

    // ---- Slide windows and quiz (mainwindow_slides.cpp) -------------------
    virtual void BKontrolleClick(platform::TObject* Sender);
    // Slide window A of the current lesson (virtual: tests watch it open).
    void OpenSlidesA() override;

    // ---- Video player (mainwindow_video.cpp) ------------------------------
    // Plays the video `file` (Windows-1252 path) in `panel`, placed at
    // `left`, `top` and sized by displayRect's right and bottom; the video
    // fills displayRect inside it. `midiFile` is the accompaniment played by
    // the MIDI engine from its beginning, or "0" for none. The main controls
    // stay locked until the video ends or is stopped. A missing file does
    // nothing; a file the player refuses is reported (error 3). Virtual:
    // tests watch the slide windows call it.
    void PlayVideo(const std::string& file, const std::string& midiFile,
                   const platform::TRect& displayRect, int top, int left,
                   platform::TPanel* panel) override;
    bool MediaPlayerPlaying() const override;
    void StopMediaPlayer() override;
    void PlayIntroVideo();

    // ---- The left column's panels (mainwindow_panels.cpp) -------------------
    virtual void BStimmClick(platform::TObject* Sender);
    void BUeplanClick(platform::TObject* Sender);
    void BMonitorClick(platform::TObject* Sender);
    void BExplorerClick(platform::TObject* Sender);
    void BNextClick(platform::TObject* Sender);
    void BVonVornClick(platform::TObject* Sender);
    void BRemoveClick(platform::TObject* Sender);
    void SelectPlanEntry(platform::TObject* Sender);
    void RefreshPlanPanel() override;
    // Tells the learner when the lists cannot be written (first showing).
    void TellIfListsCannotBeSaved();

    // ---- Pictures (the MainWindowLook loads them) ----------------------------
    bool LoadJpegBitmap(platform::TBitmap* bitmap, const std::string& fileName) override {
        return LoadJpeg(bitmap, fileName);
    }
    void LoadPictureInto(platform::TImage* picture, const std::string& fileName) override {
        LoadPicture(picture, fileName);
    }

    // ---- What the course asks of the window ----------------------------------
    void ShowRestartButton() override;
    lessons::SkinLoader* MainScreenSkin() override { return Skin.get(); }
    bool IsVideoPlaying() const override { return Video->Playing; }
    void StopTransport() override;
    int AskMessage(const QString& title, const QString& body, const QString& cancel,
                   const QString& ok) override;
    void HelpButtonClick() override;
    void ReportPictureError(const std::string& fileName) override;

    // What a screen reader hears of the window, and its tab order.
    std::unique_ptr<MainWindowAccess> Access;

    // ---- The practice journal ------------------------------------------------
    // Its journal is null before the plan panel is set up and after leaving.
    std::unique_ptr<PracticeJournal> Practice;
    // After a pass that ended the transport's run: a journal trouble not yet
    // told, and the next tempo level when the ladder offers it.
    void AfterPassInJournal();
    void TellJournalNotice();

    // The program entry calls this once every window exists (see StartSequence).
    void ProgramWindowsCreated();
    // True once the MIDI output device has been chosen.
    bool SoundDevicesChosen() const { return SoundMenu->Chosen; }

private:
    // Construction.
    void PrepareFolders();
    void CreateOwnedObjects();
    void SetUpPanelsAndLists();
    void SetStartState();
    void ConnectFormHandlers();
    void SplitProgramFile();
    void CreateStartScreen();
    void CreateTransport();
    void WireTransportControls();
    void SetUpToolColumn();
    void ReadStoredLists();
    void HideTaskbarOnSmallScreen();
    void ChooseIntroVideo();
    void CreateWindowControls();
    void ConnectButtons();
    // Start-up and leaving.
    void StartSoundDeviceChoice();
    void TellAboutDamagedLists();
    void TearDown();
    // The lesson screen.
    void CreateMainScreen();
    // The MIDI engine.
    playback::ExerciseEngine& Midi() const;

    const ShellServices services_;
    bool tornDown_ = false;
};

// The main window of the program (created by the program entry).
extern TForm1* Form1;

} // namespace app
