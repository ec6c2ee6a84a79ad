#pragma once

#include <QString>

// The people of fixtures/org.sql (password "rahasia123").
inline const QString kKepala = QStringLiteral("198001012005011001");    // agency head, Admin System, no superior
inline const QString kKabid = QStringLiteral("198102022006011002");     // field head, Admin SKPD
inline const QString kAnalis = QStringLiteral("199003032015012003");    // functional, Admin Sektira
inline const QString kPelaksana = QStringLiteral("199104042016011004"); // executor, Basic User, one additional task
inline const QString kPlt = QStringLiteral("198505052010011005");       // functional, acting field head, Supervisor
inline const QString kGuru = QStringLiteral("197506062000032006");      // teacher heading the school on the side
inline const QString kPengelola = QStringLiteral("199207072018011007"); // executor under the acting head; odd level text
inline const QString kCandidate = QStringLiteral("199508082020012008"); // no account, III/a, "  Badan Contoh  "
