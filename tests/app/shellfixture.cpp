#include "tests/app/shellfixture.h"

#include "platform/ui/application.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

namespace shelltest {

using namespace platform;

bool FakeDevices::DeviceName(unsigned short id, std::string& name) {
    if (id == 0xFFFF) {
        if (!mapperListed) return false;
        name = mapperName;
        return true;
    }
    if (id >= devices.size()) return false;
    name = devices[id].name;
    return true;
}

bool FakeDevices::Technology(unsigned short id, unsigned short& technology) {
    if (id >= devices.size()) return false;
    technology = devices[id].technology;
    return true;
}

bool FakeDevices::SetDeviceByID(unsigned short id) {
    selections.push_back("id:" + std::to_string(id));
    return id == 0xFFFF ? mapperListed : id < devices.size();
}

bool FakeDevices::SetDeviceByName(const std::string& name) {
    selections.push_back("name:" + name);
    for (const Device& device : devices)
        if (device.name == name) return true;
    return false;
}

void ShellTest::SetUp() {
    devices_.devices = {{"Port One", 1}, {"Zupfari Synth", 2}};
    services_.Engine = &devices_;
    services_.IsCdRom = [this](const std::string&) { return cdRom_; };
    services_.ProgramFolder = testsupport::BinFolder();
    SetDesktopOpener(&opener_);
    SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned) {
        platformBoxes_ << caption + "|" + text;
        return IDOK;
    });
    app::TMsgWin::SetAnswerer([this](app::TMsgWin& box) {
        asked_.push_back(
            {box.Label1->Caption(), box.Label2->Caption(), box.BCancel->Text(), box.BOK->Text()});
        if (answers_.empty()) return 2;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

void ShellTest::TearDown() {
    DestroyWindows();
    app::TMsgWin::SetAnswerer({});
    SetMessageBoxHook({});
    SetDesktopOpener(nullptr);
}

void ShellTest::CreateWindows() {
    form_ = new WatchedForm1(nullptr, services_);
    app::Form1 = form_;
    app::FBeenden = new app::TFBeenden(nullptr);
    app::MsgWin = new app::TMsgWin(nullptr);
    form_->ProgramWindowsCreated();
    WaitForDeviceChoice();
}

void ShellTest::WaitForDeviceChoice() {
    QElapsedTimer waited;
    waited.start();
    while (!form_->SoundDevicesChosen() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(form_->SoundDevicesChosen());
}

void ShellTest::ShowMainWindow() {
    form_->StartScreenTimerTimer(nullptr);
    ProcessEvents();
}

void ShellTest::DestroyWindows() {
    delete app::MsgWin;
    app::MsgWin = nullptr;
    delete app::FBeenden;
    app::FBeenden = nullptr;
    delete form_;
    form_ = nullptr;
    app::Form1 = nullptr;
    ProcessEvents();
}

void ShellTest::ProcessEvents() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

namespace {

// Mirrors `source` into `target` with symbolic links, leaving out the paths
// (relative, '/'-separated) in `missing`; folders on the way to a missing
// file are made for real.
void MirrorWithout(const QString& source, const QString& target, const QString& relative,
                   const std::vector<std::string>& missing) {
    QDir().mkpath(target + relative);
    for (const QFileInfo& entry :
         QDir(source + relative).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString name = relative + entry.fileName();
        bool leaveOut = false, descend = false;
        for (const std::string& path : missing) {
            const QString m = QString::fromStdString(path);
            if (m == name) leaveOut = true;
            if (m.startsWith(name + "/")) descend = true;
        }
        if (leaveOut) continue;
        if (descend)
            MirrorWithout(source, target, name + "/", missing);
        else
            QFile::link(entry.absoluteFilePath(), target + name);
    }
}

} // namespace

void ShellTest::UseProgramFolderWithout(const std::vector<std::string>& missing) {
    programCopy_ = std::make_unique<testsupport::TempFolder>();
    MirrorWithout(QString::fromStdString(testsupport::BinFolder()), programCopy_->QPath(), "",
                  missing);
    services_.ProgramFolder = programCopy_->Path();
}

std::string ShellTest::DataFolder() const {
    return dataHome_.Path() + "ZupfariDemo/";
}

std::string ShellTest::ReadData(const std::string& name) const {
    QFile file(QString::fromStdString(DataFolder() + name));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

} // namespace shelltest
