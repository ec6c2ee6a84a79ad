#include "api/session.h"

#include "db/query.h"
#include "db/resultset.h"

namespace api {

namespace {
QString s(const char* name) { return QString::fromLatin1(name); }
} // namespace

VersionVerdict checkVersion(db::Query& q, const QString& appVersion)
{
    const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_version_check_trial`(:var_app)"),
                                    {{s("var_app"), appVersion}});
    return {rs.first(u"status_update"), rs.first(u"versi_terbaru"), rs.first(u"keterangan")};
}

Login login(db::Query& q, const QString& nip, const QString& password)
{
    const std::vector<db::ResultSet> answer = q.openAll(QStringLiteral("CALL `kinerja_cek_hak_akses`(:var_nip, :var_pass)"),
                                                        {{s("var_nip"), nip}, {s("var_pass"), password}});
    Login result;
    if (answer.empty() || answer.front().recordCount() <= 0) {
        // a refusal may say how long the account stays locked
        if (answer.size() > 1)
            result.lockedMinutes = answer[1].first(u"kunci_menit");
        return result;
    }
    const db::ResultSet& rs = answer.front();
    result.nip = rs.text(0, u"nip");
    result.level = rs.text(0, u"access_level");
    result.token = rs.text(0, u"token");
    return result;
}

void revokeSession(db::Query& q, const QString& token)
{
    q.exec(QStringLiteral("CALL kinerja_sesi_cabut(:var_token)"), {{s("var_token"), token}});
}

PositionCodes positionCodes(db::Query& q, const QString& nip)
{
    const db::ResultSet rs =
        q.open(QStringLiteral("CALL `kinerja_get_kodejab_simpeg_by_nip`(:var_nip)"), {{s("var_nip"), nip}});
    return {rs.first(u"kode_jabatan"), rs.first(u"induk_id")};
}

void logEntry(db::Query& q, const QString& nip, const QString& aksi, const QString& keterangan, const QString& target)
{
    q.exec(QStringLiteral("CALL `kinerja_log_insert`(:var_nip, :var_aksi, :var_keterangan, :var_target)"),
           {{s("var_nip"), nip}, {s("var_aksi"), aksi}, {s("var_keterangan"), keterangan}, {s("var_target"), target}});
}

QStringList agencyNames(db::Query& q)
{
    const db::ResultSet rs = q.open(
        QStringLiteral("select trim(nama_unit) as nama_unit from unit where induk_id is null order by trim(nama_unit)"));
    QStringList names;
    const int col = rs.requireColumn(u"nama_unit");
    for (int r = 0; r < rs.recordCount(); ++r)
        names << rs.text(r, col);
    return names;
}

bool personKnown(db::Query& q, const QString& nip, const QString& rank, const QString& agency)
{
    return q.open(QStringLiteral("select nip from cache_pns where nip = trim(:var_nip) and golongan_id = :var_golru "
                                 "and trim(nama_induk) = :var_skpd"),
                  {{s("var_nip"), nip}, {s("var_golru"), rank}, {s("var_skpd"), agency}})
               .recordCount() > 0;
}

bool accountExists(db::Query& q, const QString& nip)
{
    return q.open(QStringLiteral("select nip from kinerja_user where nip = :var_nip"), {{s("var_nip"), nip}})
               .recordCount() > 0;
}

void registerAccount(db::Query& q, const QString& nip, const QString& password)
{
    q.exec(QStringLiteral("insert into kinerja_user (nip, pass, level) values (:var_nip, md5(:var_pass), '1')"),
           {{s("var_nip"), nip}, {s("var_pass"), password}});
}

} // namespace api
