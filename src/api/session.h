#pragma once

// Start-up, login, logout, registration and the client's own log rows
// (server/procedures/session.sql, identity.sql).

#include <QString>
#include <QStringList>

namespace db {
class Query;
}

namespace api {

// The client version against the newest one the server knows.
struct VersionVerdict {
    QString verdict; // "Up-Wajib", "Up-GakWajib" or "Up-ToDate"
    QString newest;  // the newest version
    QString caption; // the server's short line under the client's version
};
VersionVerdict checkVersion(db::Query& q, const QString& appVersion);

// A login: the session's NIP, level and token; an empty token when refused.
// lockedMinutes: the whole minutes a locked account still waits (0 when
// the refusal is no lock).
struct Login {
    QString nip;
    QString level;
    QString token;
    QString lockedMinutes;
    bool accepted() const { return !token.isEmpty(); }
};
Login login(db::Query& q, const QString& nip, const QString& password);
// Revokes a session (logout).
void revokeSession(db::Query& q, const QString& token);

// The position code and the top-level unit of the caller.
struct PositionCodes {
    QString position;
    QString agency;
};
PositionCodes positionCodes(db::Query& q, const QString& nip);

// A row of the process log the client writes itself (login, logout).
void logEntry(db::Query& q, const QString& nip, const QString& aksi, const QString& keterangan,
              const QString& target);

// Registration: the names of the top-level units; whether the personnel
// data has the NIP with the rank; whether it has an account already; the
// new account (the server logs it).
QStringList agencyNames(db::Query& q);
bool personKnown(db::Query& q, const QString& nip, const QString& rank, const QString& agency);
bool accountExists(db::Query& q, const QString& nip);
void registerAccount(db::Query& q, const QString& nip, const QString& password);

} // namespace api
