#pragma once
// Helpers of the journal tests: reading a journal file back with plain SQL
// through a connection of the test's own, and waiting with the event loop
// running (the practice clock is a timer).

#include <QString>
#include <QVariant>
#include <vector>

namespace journaltest {

// The rows of `sql` on the journal at `path`, each a list of its columns;
// empty when the file cannot be read.
std::vector<QVariantList> Rows(const QString& path, const QString& sql);
// The single value of `sql`, or an invalid QVariant.
QVariant Value(const QString& path, const QString& sql);
// Runs statements on the file through a connection of its own.
bool Exec(const QString& path, const QStringList& statements);

// Lets the event loop run for `ms`.
void Pump(int ms);

// The file's bytes.
QByteArray Bytes(const QString& path);

} // namespace journaltest
