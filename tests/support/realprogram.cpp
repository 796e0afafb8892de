#include "tests/support/realprogram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>
#include <csignal>
#include <dlfcn.h>
#include <unistd.h>

namespace testsupport {

bool WaitFor(const std::function<bool()>& condition, int ms) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (condition()) return true;
        QThread::msleep(50);
    }
    return condition();
}

namespace {

QString FindOnPath(const QString& name) {
    for (const QString& dir : qEnvironmentVariable("PATH").split(':'))
        if (QFileInfo(dir + "/" + name).isExecutable()) return dir + "/" + name;
    return {};
}

template <typename Function> Function Symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

} // namespace

// --- XvfbServer ---------------------------------------------------------------

XvfbServer::~XvfbServer() { Stop(); }

bool XvfbServer::Start(int width, int height) {
    if (FindOnPath("Xvfb").isEmpty()) return false;
    const int number = 200 + int(getpid() % 500);
    display_ = ":" + std::to_string(number);
    width_ = width;
    height_ = height;
    const QString screen = QString("%1x%2x24").arg(width).arg(height);
    process_.start("Xvfb", {QString::fromStdString(display_), "-screen", "0", screen, "-nolisten", "tcp"});
    const QString socket = QString("/tmp/.X11-unix/X%1").arg(number);
    return process_.waitForStarted() && WaitFor([&] { return QFileInfo::exists(socket); });
}

bool XvfbServer::Stop() {
    if (process_.state() == QProcess::NotRunning) return true;
    process_.terminate();
    if (process_.waitForFinished(10000)) return true;
    process_.kill();
    process_.waitForFinished(5000);
    return false;
}

// --- XDriver ------------------------------------------------------------------

XDriver::XDriver(const std::string& display) {
    x11_ = dlopen("libX11.so.6", RTLD_NOW);
    xtst_ = dlopen("libXtst.so.6", RTLD_NOW);
    if (x11_ == nullptr || xtst_ == nullptr) return;
    open_ = Symbol<decltype(open_)>(x11_, "XOpenDisplay");
    close_ = Symbol<decltype(close_)>(x11_, "XCloseDisplay");
    sync_ = Symbol<decltype(sync_)>(x11_, "XSync");
    stringToKeysym_ = Symbol<decltype(stringToKeysym_)>(x11_, "XStringToKeysym");
    keysymToKeycode_ = Symbol<decltype(keysymToKeycode_)>(x11_, "XKeysymToKeycode");
    motion_ = Symbol<decltype(motion_)>(xtst_, "XTestFakeMotionEvent");
    button_ = Symbol<decltype(button_)>(xtst_, "XTestFakeButtonEvent");
    key_ = Symbol<decltype(key_)>(xtst_, "XTestFakeKeyEvent");
    rootWindow_ = Symbol<decltype(rootWindow_)>(x11_, "XDefaultRootWindow");
    queryTree_ = Symbol<decltype(queryTree_)>(x11_, "XQueryTree");
    windowAttributes_ = Symbol<decltype(windowAttributes_)>(x11_, "XGetWindowAttributes");
    free_ = Symbol<decltype(free_)>(x11_, "XFree");
    inputFocus_ = Symbol<decltype(inputFocus_)>(x11_, "XGetInputFocus");
    if (open_ && close_ && sync_ && stringToKeysym_ && keysymToKeycode_ && motion_ && button_ &&
        key_ && rootWindow_ && queryTree_ && windowAttributes_ && free_ && inputFocus_)
        display_ = open_(display.c_str());
    // A window the program closes between two requests about it answers with
    // BadWindow; Xlib's own handler would end the test process for that. The
    // requests report the failure themselves, and the caller passes over it.
    using ErrorHandler = int (*)(void*, void*);
    using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
    if (auto setHandler = Symbol<SetErrorHandler>(x11_, "XSetErrorHandler"))
        setHandler([](void*, void*) { return 0; });
}

XDriver::~XDriver() {
    if (display_ != nullptr) close_(display_);
    if (xtst_ != nullptr) dlclose(xtst_);
    if (x11_ != nullptr) dlclose(x11_);
}

void XDriver::Sync() { sync_(display_, 0); }

void XDriver::MoveTo(int x, int y) {
    motion_(display_, -1, x, y, 0);
    Sync();
}

void XDriver::Click(int x, int y) {
    MoveTo(x, y);
    QThread::msleep(150); // lets hover looks and enter events settle first
    button_(display_, 1, 1, 0);
    Sync();
    QThread::msleep(50);
    button_(display_, 1, 0, 0);
    Sync();
}

bool XDriver::Key(const char* keysymName) {
    const unsigned long keysym = stringToKeysym_(keysymName);
    if (keysym == 0) return false;
    const unsigned keycode = keysymToKeycode_(display_, keysym);
    if (keycode == 0) return false;
    key_(display_, keycode, 1, 0);
    Sync();
    QThread::msleep(30);
    key_(display_, keycode, 0, 0);
    Sync();
    return true;
}

namespace {

// Xlib's XWindowAttributes, field for field (the build has no X headers).
struct WindowAttributes {
    int x, y, width, height, borderWidth, depth;
    void* visual;
    unsigned long root;
    int windowClass, bitGravity, winGravity, backingStore;
    unsigned long backingPlanes, backingPixel;
    int saveUnder;
    unsigned long colormap;
    int mapInstalled, mapState;
    long allEventMasks, yourEventMask, doNotPropagateMask;
    int overrideRedirect;
    void* screen;
};
constexpr int kIsViewable = 2;

} // namespace

std::vector<XDriver::ShownWindow> XDriver::ShownWindows() {
    std::vector<ShownWindow> shown;
    unsigned long root = 0, parent = 0;
    unsigned long* children = nullptr;
    unsigned count = 0;
    if (queryTree_(display_, rootWindow_(display_), &root, &parent, &children, &count) == 0)
        return shown;
    for (unsigned i = 0; i < count; ++i) {
        WindowAttributes attributes{};
        if (windowAttributes_(display_, children[i], &attributes) == 0) continue;
        if (attributes.mapState != kIsViewable) continue;
        shown.push_back({children[i], attributes.x, attributes.y, attributes.width,
                         attributes.height});
    }
    if (children != nullptr) free_(children);
    return shown;
}

unsigned long XDriver::FocusWindow() {
    unsigned long focus = 0;
    int revertTo = 0;
    inputFocus_(display_, &focus, &revertTo);
    return focus;
}

std::vector<QRect> XDriver::ViewableWindows() {
    std::vector<QRect> windows;
    for (const ShownWindow& window : ShownWindows())
        windows.emplace_back(window.left, window.top, window.width, window.height);
    return windows;
}

// --- RealProgram --------------------------------------------------------------

RealProgram::~RealProgram() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void RealProgram::SetEnv(const QString& name, const QString& value) {
    extraEnv_ << name << value;
}

bool RealProgram::Start(const QString& platform, const std::string& display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data_.QPath());
    env.insert("XDG_RUNTIME_DIR", runtime_.QPath());
    env.insert("SPRACHBANK_LANGUAGE", "0");
    env.insert("QT_QPA_PLATFORM", platform);
    env.insert("DISPLAY", QString::fromStdString(display));
    env.insert("ZUPFARI_AUTOANSWER", "100:2");
    env.insert("ZUPFARI_TIMING", "1");
    for (int i = 0; i + 1 < extraEnv_.size(); i += 2) env.insert(extraEnv_[i], extraEnv_[i + 1]);
    process_.setProcessEnvironment(env);
    process_.setProgram(QString::fromStdString(BinFolder()) + "ZupfariBasis");
    process_.start();
    if (!process_.waitForStarted()) return false;
    // Up once the main window showed and the start question was answered.
    return WaitFor([this] {
        const QString& text = Stderr();
        return text.contains("ZUPFARI-TIME mainwindow") && text.contains("ZUPFARI-BOX");
    });
}

const QString& RealProgram::Stderr() {
    process_.waitForReadyRead(10);
    stderr_ += QString::fromUtf8(process_.readAllStandardError());
    return stderr_;
}

void RealProgram::EndWith(int signal) {
    ::kill(process_.processId(), signal);
    WaitForEnd();
}

bool RealProgram::WaitForEnd(int ms) { return process_.waitForFinished(ms); }

QStringList RealProgram::ListLines(const QString& name) const {
    QFile file(DataFolder() + "Listen/" + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString(file.readAll()).split("\r\n");
}

bool RealProgram::WriteListLines(const QString& name, const QStringList& lines) const {
    if (!QDir().mkpath(DataFolder() + "Listen")) return false;
    QFile file(DataFolder() + "Listen/" + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray bytes = (lines.join("\r\n") + "\r\n").toLatin1();
    return file.write(bytes) == bytes.size();
}

} // namespace testsupport
