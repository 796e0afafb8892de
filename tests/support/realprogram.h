#pragma once
// The real program as a separate process, on its own virtual X display or
// offscreen, for tests that drive it from outside: a private Xvfb server, a
// pointer and keyboard that send real X events through the XTest extension,
// and the program started with a scratch data folder whose list files the
// test can read.

#include "tests/support/testsupport.h"

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Polls `condition` every 50 ms for up to `ms`; its last answer.
bool WaitFor(const std::function<bool()>& condition, int ms = 30000);

// A private Xvfb server on a display number of its own.
class XvfbServer {
public:
    ~XvfbServer();
    // Starts Xvfb with one screen of the given size; false when Xvfb is
    // missing or did not come up.
    bool Start(int width = 1024, int height = 768);
    // Ends the server (the desktop session going away).
    bool Stop();
    const std::string& Display() const { return display_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    QProcess process_;
    std::string display_ = ":0";
    int width_ = 0, height_ = 0;
};

// Sends pointer and key events to an X display through XTest, loaded at run
// time so that the build needs no X headers.
class XDriver {
public:
    explicit XDriver(const std::string& display);
    ~XDriver();
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;
    bool Ready() const { return display_ != nullptr; }
    void MoveTo(int x, int y);
    // Moves there, presses and releases the left button.
    void Click(int x, int y);
    // Presses and releases the key of an X key symbol name ("Return",
    // "Escape", "F5", "space"); false when the name is unknown.
    bool Key(const char* keysymName);
    // The places of the top-level windows that are on the screen now, so that
    // a test can see a window open or close.
    std::vector<QRect> ViewableWindows();

    // A top-level window on the screen (mapped and viewable).
    struct ShownWindow {
        unsigned long id = 0;
        int left = 0, top = 0, width = 0, height = 0;
    };
    // The top-level windows on the screen, bottom to top.
    std::vector<ShownWindow> ShownWindows();
    // The window that has the keyboard focus (0 for none, 1 for the window
    // under the pointer).
    unsigned long FocusWindow();

private:
    void Sync();
    void* x11_ = nullptr;
    void* xtst_ = nullptr;
    void* display_ = nullptr;
    void* (*open_)(const char*) = nullptr;
    int (*close_)(void*) = nullptr;
    int (*sync_)(void*, int) = nullptr;
    unsigned long (*stringToKeysym_)(const char*) = nullptr;
    unsigned char (*keysymToKeycode_)(void*, unsigned long) = nullptr;
    int (*motion_)(void*, int, int, int, unsigned long) = nullptr;
    int (*button_)(void*, unsigned, int, unsigned long) = nullptr;
    int (*key_)(void*, unsigned, int, unsigned long) = nullptr;
    unsigned long (*rootWindow_)(void*) = nullptr;
    int (*queryTree_)(void*, unsigned long, unsigned long*, unsigned long*, unsigned long**,
                      unsigned*) = nullptr;
    int (*windowAttributes_)(void*, unsigned long, void*) = nullptr;
    int (*free_)(void*) = nullptr;
    int (*inputFocus_)(void*, unsigned long*, int*) = nullptr;
};

// The program started as a child process with a scratch data folder and
// runtime folder. Message boxes are answered automatically after 100 ms with
// cancel unless the test sets another ZUPFARI_AUTOANSWER; start-up timings
// and box texts arrive on standard error.
class RealProgram {
public:
    ~RealProgram();
    // Extra environment for the next Start (kept across starts).
    void SetEnv(const QString& name, const QString& value);
    // Starts build/bin/ZupfariBasis on `platform` ("offscreen", or "xcb" on
    // `display`); true once the main window is up and the start question
    // was answered.
    bool Start(const QString& platform, const std::string& display = ":0");
    // Sends a signal and waits for the end.
    void EndWith(int signal);
    bool WaitForEnd(int ms = 10000);
    // Everything the program wrote to standard error so far.
    const QString& Stderr();
    void ClearStderr() { stderr_.clear(); }
    // The lines of a list file in the data folder (CR LF split), empty when
    // it cannot be read.
    QStringList ListLines(const QString& name) const;
    // Writes a list file into the data folder as the program writes them
    // (CR LF after every line), for the next start to find.
    bool WriteListLines(const QString& name, const QStringList& lines) const;
    QString DataFolder() const { return data_.QPath() + "ZupfariDemo/"; }
    QProcess& Process() { return process_; }

private:
    TempFolder data_, runtime_;
    QProcess process_;
    QString stderr_;
    QStringList extraEnv_;
};

} // namespace testsupport
