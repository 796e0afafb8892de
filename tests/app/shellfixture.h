#pragma once
// The test bench of the application shell: a pretend device list, a fresh
// data folder, a program folder that is the build's own or a copy with
// chosen files left out, and recorders for every box, answer and web page,
// so that no test blocks on a dialog or opens a browser.

#include "app/fbeenden.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "playback/exerciseengine.h"
#include "platform/ui/shell.h"
#include "tests/support/testsupport.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace shelltest {

// The engine as the shell's tests pretend it: a device list that records
// what it was asked to select, and a running flag; files are loaded and
// played by the real engine.
class FakeDevices : public playback::SequenzorEngine {
public:
    struct Device {
        std::string name;
        unsigned short technology;
    };
    std::vector<Device> devices;
    std::string mapperName = "MIDI Mapper";
    bool mapperListed = true;
    std::vector<std::string> selections; // "id:N" or "name:X"
    bool running = false;

    int NumDevs() override { return int(devices.size()); }
    bool InitWin(QObject*) override { return true; }
    bool DeviceName(unsigned short id, std::string& name) override;
    bool Technology(unsigned short id, unsigned short& technology) override;
    bool SetDeviceByID(unsigned short id) override;
    bool SetDeviceByName(const std::string& name) override;
    bool IsRunning() override { return running; }
};

// Records what would have been opened in the browser or help viewer.
class RecordingOpener : public platform::DesktopOpener {
public:
    QStringList opened;
    bool Open(const QString& target) override {
        opened << target;
        return true;
    }
};

// A main window that notes which of its not yet built actions ran.
class WatchedForm1 : public app::TForm1 {
public:
    using TForm1::TForm1;
    QStringList actions;
    // The transport's own handlers run too (for the transport's tests).
    bool realTransport = false;
    void BStopClick(platform::TObject* sender) override {
        actions << "BStop";
        if (realTransport) TForm1::BStopClick(sender);
    }
    void BPauseClick(platform::TObject* sender) override {
        actions << "BPause";
        if (realTransport) TForm1::BPauseClick(sender);
    }
    void BPlayClick(platform::TObject* sender) override {
        actions << "BPlay";
        if (realTransport) TForm1::BPlayClick(sender);
    }
    void BKontrolleClick(platform::TObject*) override { actions << "BKontrolle"; }
};

struct AskedBox {
    QString title, body, cancel, ok;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the windows in the program's order (main window, exit dialog,
    // message box); the main window shows its start screen.
    // Then waits until the device choice, done on a worker, has come back.
    void CreateWindows();
    void WaitForDeviceChoice();
    // What the start screen's timer does, then the deferred first showing.
    void ShowMainWindow();
    void DestroyWindows();
    // A program folder made of links to the build's content, without the
    // listed files (content names with '/').
    void UseProgramFolderWithout(const std::vector<std::string>& missing);
    std::string DataFolder() const;
    std::string ReadData(const std::string& name) const;
    static void ProcessEvents();

    testsupport::TempFolder dataHome_;
    // The windows read their texts in German and keep their data in
    // dataHome_; the main window's skin set-up changes the working folder.
    testsupport::ScopedEnv dataHomeEnv_{"XDG_DATA_HOME", dataHome_.Path()};
    testsupport::ScopedEnv german_{"SPRACHBANK_LANGUAGE", "0"};
    testsupport::ScopedCurrentFolder currentFolder_;
    std::unique_ptr<testsupport::TempFolder> programCopy_;
    FakeDevices devices_;
    // What the main window is built with: the fake devices, the pretended
    // drive type and the program folder in use.
    app::ShellServices services_;
    RecordingOpener opener_;
    std::vector<AskedBox> asked_; // the program's own message box
    std::deque<int> answers_;     // its answers, then cancel (2)
    QStringList platformBoxes_;   // "caption|text"
    bool cdRom_ = false;
    WatchedForm1* form_ = nullptr;
};

} // namespace shelltest
