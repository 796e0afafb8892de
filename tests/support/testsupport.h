#pragma once
// Helpers shared by the test programs.

#include <QString>
#include <QTemporaryDir>
#include <string>

namespace testsupport {

// A fresh folder that is removed with the object; path ends in '/'.
class TempFolder {
public:
    TempFolder();
    std::string Path() const;
    QString QPath() const { return QString::fromStdString(Path()); }
    // Writes `bytes` to the file `name` inside the folder (sub-folders are
    // created) and returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    QTemporaryDir dir_;
};

// Sets (or, with no value, removes) an environment variable for the life of
// the object; the variable's earlier state comes back afterwards.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name, const char* value = nullptr);
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

// Keeps the process's working folder: whatever a test does to it, the
// folder of the object's creation is current again when it goes.
class ScopedCurrentFolder {
public:
    ScopedCurrentFolder();
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    QString folder_;
};

// The folder the test program made its home for this run ($HOME).
std::string TestHome();

// Runs `command` with /bin/sh and returns its exit status (-1 when it could not run).
int RunShell(const std::string& command);

// The build's program folder (where ZupfariBasis and its content live).
std::string BinFolder();

} // namespace testsupport
