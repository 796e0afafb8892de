#include "app/startcount.h"

#include "platform/core/cp1252.h"
#include "platform/core/files.h"

#include <QFileInfo>
#include <charconv>
#include <limits>

namespace app {

StartCounter::StartCounter(std::string logPath, bool writable)
    : logPath_(std::move(logPath)), writable_(writable) {}

int StartCounter::NextCount(const QString& previous) {
    const std::string text = previous.trimmed().toStdString();
    long long value = 0;
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(text.data(), last, value, 10);
    if (error == std::errc::result_out_of_range && !text.empty() && text[0] != '-')
        return std::numeric_limits<int>::max();
    if (error != std::errc() || end != last || value < 1) return 1;
    if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(value + 1);
}

int StartCounter::CountStart() {
    ReadLog();
    if (lines_.isEmpty())
        lines_ << "1";
    else
        lines_[0] = QString::number(NextCount(lines_[0]));
    SaveLog();
    return lines_[0].toInt();
}

// Only a plain file is read; a folder or an unreadable file gives no lines.
void StartCounter::ReadLog() {
    lines_.clear();
    const QFileInfo info(QString::fromStdString(logPath_));
    if (!info.isFile()) return;
    for (const std::string& line : platform::ReadTextLines(logPath_))
        lines_ << platform::FromAnsi(line);
}

void StartCounter::SaveLog() const {
    if (!writable_) return;
    if (QFileInfo(QString::fromStdString(logPath_)).isDir()) return;
    std::string bytes;
    for (const QString& line : lines_)
        bytes += platform::ToAnsi(line) + "\r\n";
    platform::WriteFileAtomically(logPath_, bytes); // a failure is of no consequence
}

} // namespace app
