#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The logged-in user's facts: what the login and the profile load learn,
// what the pages send as "who am I". A plain value without widgets.
struct Session {
    // From the login answer. The token binds every connection to this
    // session on the server.
    QString nipLogin;
    QString levelUser;
    QString token;
    // From the position-code look-up after the login.
    QString kode_jabatan;
    QString kode_induk;
    // Supervision mode of the subordinate being reviewed: "B1" or "B2".
    QString st_aktivitas_bawahan;
    // Periods (yyyymm) and the date decoded when a list page opens.
    QString periodex;
    QString periodef;
    quint16 Year = 0;
    quint16 Month = 0;
    quint16 Day = 0;

    // The kind (index of the entry wizard's first page) and the task detail
    // (dictionary code) of the last activity saved, offered again by the
    // next entry; -1 and empty before the first.
    int lastActivityKind = -1;
    QString lastActivityTask;

    // The profile load's rows: caption and value (row 2 is the NIP, 3 the
    // position type, 8 the count of additional tasks, 9 and 11 the acting
    // and side-assignment statuses).
    QVector<QStringList> profile;

    // Value column of a profile row; empty when there is no such row.
    QString profileValue(int row) const
    {
        if (row < 0 || row >= profile.size() || profile[row].size() < 2)
            return {};
        return profile[row][1];
    }
    // The NIP the pages act for: the profile's, never a stale one.
    QString nip() const { return profileValue(2); }
    QString nama() const { return profileValue(1); }

    // Forgets the profile and the facts derived from it, before each
    // profile load, so a failed load cannot leave an earlier user's.
    void clearProfile()
    {
        profile.clear();
        kode_jabatan.clear();
        kode_induk.clear();
        st_aktivitas_bawahan.clear();
    }
    // Back to the logged-out state.
    void clear() { *this = Session{}; }
};
