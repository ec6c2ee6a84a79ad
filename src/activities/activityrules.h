#pragma once

#include "db/resultset.h"

#include <QString>

// Rules and messages that the activity list, the entry wizard and the change
// dialog share.
namespace activityrules {

// A single activity may not take more than a working day, unless its volume
// is at most 1.
inline bool exceedsWorkingDay(double standardMinutes, double volume)
{
    return volume > 1 && standardMinutes * volume > 480;
}

inline QString workingDayRefusal()
{
    return QStringLiteral("Total SKR x Volume melebihi waktu wajar pekerjaan dalam satu hari (480 menit) !\r\rinput "
                          "ditolak sistem!\r\rCatatan : tetap dizinkan dengan volume antara 0 sampai 1");
}

// The characters of a description that count, as the server counts them:
// blanks and line breaks at either end do not.
inline int descriptionLength(const QString& text)
{
    return int(text.trimmed().toUcs4().size());
}

// No work has a volume of nothing.
inline QString volumeRefusal()
{
    return QStringLiteral("Volume minimal 1!");
}

// The refusal of a time-window check: its heading, then the server's answer
// (column 1 the actual days back, column 0 the allowed days). The days are
// counted from the date named by `from` ("input" or "verifikasi").
inline QString windowRefusal(const QString& heading, const db::ResultSet& answer, const QString& allowedText,
                             const QString& from = QStringLiteral("input"))
{
    return heading + QStringLiteral(" !\r\rAlasan :\rSelisih tgl ") + from +
           QStringLiteral(" aktivitas dengan saat ini ") + answer.first(1) + QStringLiteral(" hari,\r") +
           allowedText + answer.first(0) + QStringLiteral(" hari.");
}

} // namespace activityrules
