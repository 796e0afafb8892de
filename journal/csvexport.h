#pragma once
// The journal as a CSV file for a spreadsheet: UTF-8, comma-separated, a
// header line, one row per practice record, CR LF line ends (RFC 4180):
//
//   day,session_started,lesson,level,seconds,minutes,passes_started,passes_completed
//   2026-12-07,2026-12-07 17:02:11,1,10,95,1.6,2,1

#include "journal/records.h"

#include <QString>
#include <vector>

namespace journal {

// The CSV text of the records, header first.
QByteArray PracticeCsv(const std::vector<PracticeRecord>& records);

// Writes the CSV to `csvPath`, replacing it only once it is complete. False
// (with the reason in `error`) when it could not be written.
bool WritePracticeCsv(const std::vector<PracticeRecord>& records, const QString& csvPath,
                      QString* error);

// The command line's export: reads the journal at `journalPath` (never
// writing it) and writes the CSV. A journal that does not exist yet gives a
// file with the header alone. False with the reason in `error` when the
// journal cannot be read or the CSV not written.
bool ExportJournal(const QString& journalPath, const QString& csvPath, QString* error);

} // namespace journal
