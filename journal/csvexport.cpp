#include "journal/csvexport.h"

#include "journal/journaldb.h"
#include "journal/journalreader.h"

#include <QFileInfo>
#include <QSaveFile>

namespace journal {

namespace {

constexpr const char* kHeader =
    "day,session_started,lesson,level,seconds,minutes,passes_started,passes_completed";

// A field as RFC 4180 wants it: quoted when it holds a comma, quote or line end.
QString Field(const QString& text) {
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    return '"' + QString(text).replace("\"", "\"\"") + '"';
}

} // namespace

QByteArray PracticeCsv(const std::vector<PracticeRecord>& records) {
    QString text = QString(kHeader) + "\r\n";
    for (const PracticeRecord& r : records) {
        const QStringList fields{Field(r.Day),
                                 Field(r.SessionStarted),
                                 QString::number(r.Lesson),
                                 QString::number(r.Level),
                                 QString::number(r.Seconds),
                                 QString::number(r.Seconds / 60.0, 'f', 1),
                                 QString::number(r.PassesStarted),
                                 QString::number(r.PassesCompleted)};
        text += fields.join(',') + "\r\n";
    }
    return text.toUtf8();
}

bool WritePracticeCsv(const std::vector<PracticeRecord>& records, const QString& csvPath,
                      QString* error) {
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(PracticeCsv(records)) < 0 ||
        !file.commit()) {
        if (error != nullptr) *error = csvPath + ": " + file.errorString();
        return false;
    }
    return true;
}

bool ExportJournal(const QString& journalPath, const QString& csvPath, QString* error) {
    std::vector<PracticeRecord> records;
    if (QFileInfo::exists(journalPath)) {
        JournalDb db(journalPath, true);
        if (db.Open() != Outcome::Done) {
            if (error != nullptr) *error = "the journal cannot be read: " + db.LastError();
            return false;
        }
        records = ReadPracticeRecords(db.Database());
    }
    return WritePracticeCsv(records, csvPath, error);
}

} // namespace journal
