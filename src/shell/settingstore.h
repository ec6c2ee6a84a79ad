#pragma once

#include "ui/envelope.h"

#include <QString>

// The server's setting store, keyed by a group (`jenis`) and a name
// (`nama`); values and window moments travel as text both ways. Each call
// is one envelope of its own: connect, one statement, close. A failure is
// reported to the user with the standard messages and never raised; the
// outcome tells the caller how the call ended. A failed load leaves the out
// value as the caller passed it in.
class SettingStore {
public:
    explicit SettingStore(OperationHost& host) : host_(host) {}

    Envelope::Outcome LoadSettingValue(const QString& jenis, const QString& nama, QString& value);
    Envelope::Outcome SaveSettingValue(const QString& value, const QString& jenis, const QString& nama);
    Envelope::Outcome LoadSettingStartDate(const QString& jenis, const QString& nama, QString& text);
    Envelope::Outcome LoadSettingEndDate(const QString& jenis, const QString& nama, QString& text);
    Envelope::Outcome SaveSettingStartDate(const QString& date, const QString& jenis, const QString& nama);
    Envelope::Outcome SaveSettingEndDate(const QString& date, const QString& jenis, const QString& nama);

private:
    Envelope::Outcome load(const QString& sql, const QString& jenis, const QString& nama, QString& out);
    Envelope::Outcome save(const QString& sql, const QString& valueParam, const QString& value, const QString& jenis,
                           const QString& nama);

    OperationHost& host_;
};
