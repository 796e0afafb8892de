#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <sys/wait.h>

namespace testsupport {

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value != nullptr) setenv(name, value, 1);
    else unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
}

ScopedCurrentFolder::ScopedCurrentFolder() : folder_(QDir::currentPath()) {}

ScopedCurrentFolder::~ScopedCurrentFolder() { QDir::setCurrent(folder_); }

TempFolder::TempFolder() : dir_(QDir::tempPath() + "/zupfari-test-XXXXXX") {}

std::string TempFolder::Path() const { return dir_.path().toStdString() + "/"; }

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
    QString full = QPath() + QString::fromStdString(name);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), qint64(bytes.size()));
    return full.toStdString();
}

std::string TestHome() {
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

int RunShell(const std::string& command) {
    int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::string BinFolder() {
    const char* bin = std::getenv("ZUPFARI_BIN_DIR");
    return std::string(bin != nullptr && bin[0] != '\0' ? bin : ZUPFARI_BUILD_BIN_DIR) + "/";
}

} // namespace testsupport
