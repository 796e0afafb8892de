#include "tests/journal/journalfixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace journaltest {

namespace {

template <class Use> auto WithConnection(const QString& path, Use use) {
    const QString name = QUuid::createUuid().toString();
    decltype(use(std::declval<QSqlDatabase&>())) result{};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        if (db.open()) result = use(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

std::vector<QVariantList> Rows(const QString& path, const QString& sql) {
    return WithConnection(path, [&](QSqlDatabase& db) {
        std::vector<QVariantList> rows;
        QSqlQuery query(db);
        if (!query.exec(sql)) return rows;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i) row << query.value(i);
            rows.push_back(row);
        }
        return rows;
    });
}

QVariant Value(const QString& path, const QString& sql) {
    const auto rows = Rows(path, sql);
    return rows.empty() || rows.front().isEmpty() ? QVariant() : rows.front().front();
}

bool Exec(const QString& path, const QStringList& statements) {
    return WithConnection(path, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        for (const QString& statement : statements)
            if (!query.exec(statement)) return false;
        return true;
    });
}

void Pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace journaltest
