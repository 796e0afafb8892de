// The Standard MIDI File functions of the toolkit (OpenSMF ... WriteMetaEvent):
// a table of open files by handle, over the reader and writer.
//
// A file opened for reading ('r') is read whole and parsed at OpenSMF; ReadSMF
// then hands out each track's events from memory. A file opened for writing
// ('w') collects tracks in memory and is written, as format 1, when it is
// closed. Handles count up from 0x5001 and are never 32 or less; a call with
// an unknown handle, a track out of range or the wrong mode does nothing and
// answers with its failure value. All calls may come from any thread.

#include "mxmidi/mxmidi.h"
#include "mxmidi/smfreader.h"
#include "mxmidi/smfwriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace {

using mxmidi::smf::SmfContent;
using mxmidi::smf::SmfMeta;
using mxmidi::smf::SmfTrack;

constexpr int kModeRead = 'r';
constexpr int kModeWrite = 'w';
constexpr std::uint16_t kWriteResolution = 480; // until SetSMFResolution says otherwise
constexpr std::uint16_t kLastWritableTrack = 0xFFFE;

// One open file: its tracks and, when reading, where each track's reading is.
struct SmfFile {
    int mode = kModeRead;
    QString path;
    std::uint16_t format = 1;
    std::uint16_t resolution = 0;
    std::vector<SmfTrack> tracks;
    std::vector<std::size_t> cursors;

    // The track a writer puts `track`'s events and metas into, made on demand.
    SmfTrack& WritableTrack(std::uint16_t track) {
        if (tracks.size() <= track) tracks.resize(std::size_t(track) + 1);
        return tracks[track];
    }
};

// The open files by handle.
class SmfTable {
public:
    HSMF Add(std::unique_ptr<SmfFile> file) {
        do {
            next_ = next_ >= kLastHandle ? kFirstHandle : next_ + 1;
        } while (files_.count(next_) != 0);
        files_[next_] = std::move(file);
        return next_;
    }

    SmfFile* Find(HSMF handle, int mode) const {
        auto it = files_.find(handle);
        return it != files_.end() && it->second->mode == mode ? it->second.get() : nullptr;
    }

    SmfFile* Find(HSMF handle) const {
        auto it = files_.find(handle);
        return it != files_.end() ? it->second.get() : nullptr;
    }

    std::unique_ptr<SmfFile> Remove(HSMF handle) {
        auto it = files_.find(handle);
        if (it == files_.end()) return nullptr;
        std::unique_ptr<SmfFile> file = std::move(it->second);
        files_.erase(it);
        return file;
    }

    std::mutex& Lock() { return lock_; }

private:
    static constexpr HSMF kFirstHandle = 0x5001;
    static constexpr HSMF kLastHandle = 0x7FFFFFFF;
    std::map<HSMF, std::unique_ptr<SmfFile>> files_;
    HSMF next_ = kFirstHandle - 1;
    std::mutex lock_;
};

SmfTable& Table() {
    static SmfTable table;
    return table;
}

// Only regular files are read (a device or a pipe could be endless), and
// never more than the reader takes.
std::unique_ptr<SmfFile> OpenForReading(const QString& path) {
    if (!QFileInfo(path).isFile()) return nullptr;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > qint64(mxmidi::smf::kMaxFileBytes))
        return nullptr;
    QByteArray bytes = file.read(file.size()); // never more than the size checked
    std::optional<SmfContent> content = mxmidi::smf::ParseSmf(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    if (!content) return nullptr;
    auto smf = std::make_unique<SmfFile>();
    smf->mode = kModeRead;
    smf->path = path;
    smf->format = content->format;
    smf->resolution = content->resolution;
    smf->tracks = std::move(content->tracks);
    smf->cursors.assign(smf->tracks.size(), 0);
    return smf;
}

// A file can be written when its folder exists and takes new files (the
// writer puts a temporary file beside it) and the name is not a folder.
std::unique_ptr<SmfFile> OpenForWriting(const QString& path) {
    QFileInfo info(path);
    QFileInfo folder(info.absolutePath());
    if (info.fileName().isEmpty() || info.isDir() || !folder.isDir() || !folder.isWritable())
        return nullptr;
    auto smf = std::make_unique<SmfFile>();
    smf->mode = kModeWrite;
    smf->path = path;
    smf->resolution = kWriteResolution;
    return smf;
}

// File names come as 8-bit text: UTF-8 as the system writes them, or, when
// they are not valid UTF-8, Windows-1252 as the course's own texts are (read
// as Latin-1, which agrees with it on every letter of German).
QString FileNameOf(const char* fileName) {
    QByteArray bytes(fileName);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString name = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : name;
}

} // namespace

HSMF OpenSMF(const char* fileName, std::uint16_t* format, int mode, std::uint16_t* tracks) {
    if (tracks != nullptr) *tracks = 0;
    if (fileName == nullptr || fileName[0] == '\0') return 0;
    QString path = FileNameOf(fileName);
    std::unique_ptr<SmfFile> file;
    try {
        if (mode == kModeRead)
            file = OpenForReading(path);
        else if (mode == kModeWrite)
            file = OpenForWriting(path);
    } catch (const std::bad_alloc&) {
        return 0; // a file too large for the memory left is refused like a damaged one
    }
    if (!file) return 0;

    std::uint16_t fileFormat = file->format;
    std::uint16_t trackCount = std::uint16_t(file->tracks.size());
    std::lock_guard<std::mutex> guard(Table().Lock());
    HSMF handle = Table().Add(std::move(file));
    if (format != nullptr) *format = fileFormat;
    if (tracks != nullptr) *tracks = trackCount;
    return handle;
}

std::uint32_t ReadSMF(HSMF smf, std::uint16_t track, MidiEvent* events, std::uint32_t max) {
    std::lock_guard<std::mutex> guard(Table().Lock());
    SmfFile* file = Table().Find(smf, kModeRead);
    if (file == nullptr || events == nullptr || track >= file->tracks.size()) return 0;
    const std::vector<MidiEvent>& all = file->tracks[track].events;
    std::size_t& cursor = file->cursors[track];
    std::size_t count = std::min<std::size_t>(max, all.size() - cursor);
    if (count > 0) std::memcpy(events, all.data() + cursor, count * sizeof(MidiEvent));
    cursor += count;
    return std::uint32_t(count);
}

std::uint32_t WriteSMF(HSMF smf, std::uint16_t track, const MidiEvent* events,
                       std::uint32_t count) {
    std::lock_guard<std::mutex> guard(Table().Lock());
    SmfFile* file = Table().Find(smf, kModeWrite);
    if (file == nullptr || track > kLastWritableTrack || (events == nullptr && count > 0)) return 0;
    try {
        std::vector<MidiEvent>& target = file->WritableTrack(track).events;
        target.insert(target.end(), events, events + count);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return count;
}

void RewindSMF(HSMF smf) {
    std::lock_guard<std::mutex> guard(Table().Lock());
    if (SmfFile* file = Table().Find(smf, kModeRead))
        std::fill(file->cursors.begin(), file->cursors.end(), 0);
}

int CloseSMF(HSMF smf) {
    std::unique_ptr<SmfFile> file;
    {
        std::lock_guard<std::mutex> guard(Table().Lock());
        file = Table().Remove(smf);
    }
    if (file == nullptr) return 1;
    if (file->mode != kModeWrite) return 0;
    // The writer replaces an old file only once the new one is complete.
    try {
        bool written = mxmidi::smf::SaveSmfFile(
            file->path, mxmidi::smf::EncodeSmf(file->resolution, file->tracks));
        return written ? 0 : 1;
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

std::uint16_t GetSMFResolution(HSMF smf) {
    std::lock_guard<std::mutex> guard(Table().Lock());
    SmfFile* file = Table().Find(smf);
    return file != nullptr ? file->resolution : 0;
}

// 0 keeps the resolution as it was; values above 0x7FFF (which a file would
// read as SMPTE frames) are cut to 0x7FFF.
void SetSMFResolution(HSMF smf, std::uint16_t ticksPerQuarter) {
    std::lock_guard<std::mutex> guard(Table().Lock());
    SmfFile* file = Table().Find(smf, kModeWrite);
    if (file != nullptr && ticksPerQuarter != 0)
        file->resolution = std::min<std::uint16_t>(ticksPerQuarter, 0x7FFF);
}

int ReadMetaEvent(HSMF smf, std::uint16_t track, std::uint8_t type, const std::uint8_t** data,
                  std::uint32_t* length) {
    std::lock_guard<std::mutex> guard(Table().Lock());
    SmfFile* file = Table().Find(smf, kModeRead);
    if (file == nullptr || data == nullptr || length == nullptr || track >= file->tracks.size())
        return -1;
    const SmfMeta* meta = file->tracks[track].FindMeta(type);
    if (meta == nullptr) return -1;
    *data = reinterpret_cast<const std::uint8_t*>(meta->data.c_str());
    *length = std::uint32_t(meta->data.size());
    return 0;
}

// End-of-track (0x2F) is written by the writer itself, and types of 0x80 and
// more do not exist: both are refused.
int WriteMetaEvent(HSMF smf, std::uint16_t track, std::uint8_t type, const char* text,
                   std::uint32_t length) {
    if (text == nullptr || type >= 0x80 || type == 0x2F || track > kLastWritableTrack) return -1;
    std::lock_guard<std::mutex> guard(Table().Lock());
    SmfFile* file = Table().Find(smf, kModeWrite);
    if (file == nullptr) return -1;
    std::size_t count = length != 0 ? length : std::strlen(text);
    file->WritableTrack(track).metas.push_back(SmfMeta{type, std::string(text, count)});
    return 0;
}
