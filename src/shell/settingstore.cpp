#include "settingstore.h"

#include "db/query.h"
#include "db/resultset.h"

Envelope::Outcome SettingStore::load(const QString& sql, const QString& jenis, const QString& nama, QString& out)
{
    Envelope env(host_);
    env.run([&](db::Query& q) {
        const db::ResultSet rs =
            q.open(sql, {{QStringLiteral("var_jenis"), jenis}, {QStringLiteral("var_nama"), nama}});
        // No row reads as an empty value; a result without the column fails.
        out = rs.first(QStringLiteral("nilai"));
    });
    return env.outcome();
}

Envelope::Outcome SettingStore::save(const QString& sql, const QString& valueParam, const QString& value,
                                     const QString& jenis, const QString& nama)
{
    Envelope env(host_);
    env.run([&](db::Query& q) {
        q.exec(sql, {{valueParam, value}, {QStringLiteral("var_jenis"), jenis}, {QStringLiteral("var_nama"), nama}});
    });
    return env.outcome();
}

Envelope::Outcome SettingStore::LoadSettingValue(const QString& jenis, const QString& nama, QString& value)
{
    return load(QStringLiteral("CALL `kinerja_app_setting_load_value` (:var_jenis, :var_nama)"), jenis, nama, value);
}

Envelope::Outcome SettingStore::SaveSettingValue(const QString& value, const QString& jenis, const QString& nama)
{
    return save(QStringLiteral("CALL `kinerja_app_setting_save_value` (:var_nilai, :var_jenis, :var_nama)"),
                QStringLiteral("var_nilai"), value, jenis, nama);
}

Envelope::Outcome SettingStore::LoadSettingStartDate(const QString& jenis, const QString& nama, QString& text)
{
    return load(QStringLiteral("CALL `kinerja_app_setting_load_tanggal_awal` (:var_jenis, :var_nama) "), jenis, nama,
                text);
}

Envelope::Outcome SettingStore::LoadSettingEndDate(const QString& jenis, const QString& nama, QString& text)
{
    return load(QStringLiteral("CALL `kinerja_app_setting_load_tanggal_akhir` (:var_jenis, :var_nama) "), jenis, nama,
                text);
}

Envelope::Outcome SettingStore::SaveSettingStartDate(const QString& date, const QString& jenis, const QString& nama)
{
    return save(QStringLiteral("CALL `kinerja_app_setting_save_tanggal_awal` (:var_date, :var_jenis, :var_nama) "),
                QStringLiteral("var_date"), date, jenis, nama);
}

Envelope::Outcome SettingStore::SaveSettingEndDate(const QString& date, const QString& jenis, const QString& nama)
{
    return save(QStringLiteral("CALL `kinerja_app_setting_save_tanggal_akhir` (:var_date, :var_jenis, :var_nama) "),
                QStringLiteral("var_date"), date, jenis, nama);
}
