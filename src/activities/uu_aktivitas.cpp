#include "uu_aktivitas.h"

#include "activityrules.h"

#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "ui/keyfilters.h"
#include "db/query.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfu_aktivitas::Tfu_aktivitas(PageContext& ctx) : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("fu_aktivitas"));
    setWindowTitle(QString());
    setFixedSize(560, 400);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    fu_aktivitasJudul = new PageHeader(this, QStringLiteral("fu_aktivitasJudul"));
    fu_aktivitasJudul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    v->addWidget(fu_aktivitasJudul);
    auto* g = new QGridLayout;
    g->setContentsMargins(12, 8, 12, 0);
    g->addWidget(new QLabel(QStringLiteral("Nama Aktivitas"), this), 0, 0, Qt::AlignTop);
    fuAktivitasAktivitas = new QPlainTextEdit(this);
    fuAktivitasAktivitas->setObjectName(QStringLiteral("fuAktivitasAktivitas"));
    fuAktivitasAktivitas->setReadOnly(true);
    fuAktivitasAktivitas->setFixedHeight(54);
    fuAktivitasAktivitas->setStyleSheet(QStringLiteral("background: palette(window);"));
    g->addWidget(fuAktivitasAktivitas, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Deskripsi"), this), 1, 0, Qt::AlignTop);
    fuAktivitasDeskripsi = new QPlainTextEdit(this);
    fuAktivitasDeskripsi->setObjectName(QStringLiteral("fuAktivitasDeskripsi"));
    fuAktivitasDeskripsi->setTabChangesFocus(true);
    g->addWidget(fuAktivitasDeskripsi, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Volume"), this), 2, 0);
    auto* vol = new QHBoxLayout;
    fuAktivitasVolume = new QLineEdit(this);
    fuAktivitasVolume->setObjectName(QStringLiteral("fuAktivitasVolume"));
    fuAktivitasVolume->setMaximumWidth(80);
    digitsOnly(fuAktivitasVolume);
    fuAktivitasSatuan = new QLabel(this);
    fuAktivitasSatuan->setObjectName(QStringLiteral("fuAktivitasSatuan"));
    vol->addWidget(fuAktivitasVolume);
    vol->addWidget(fuAktivitasSatuan);
    vol->addStretch(1);
    g->addLayout(vol, 2, 1);
    btSimpan = new QPushButton(QStringLiteral("Simpan"), this);
    btSimpan->setObjectName(QStringLiteral("btSimpan"));
    btSimpan->setAutoDefault(false);
    g->addWidget(btSimpan, 3, 1, Qt::AlignLeft);
    auto* note = new QLabel(
        QStringLiteral("* Ubah aktivitas hanya bisa mengubah deskripsi dan volume aktivitas yang dikerjakan"), this);
    note->setStyleSheet(QStringLiteral("color: #808080;"));
    note->setWordWrap(true);
    g->addWidget(note, 4, 0, 1, 2);
    v->addLayout(g, 1);
    connect(btSimpan, &QPushButton::clicked, this, &Tfu_aktivitas::btSimpanClick);
}

void Tfu_aktivitas::showEvent(QShowEvent* event)
{
    fu_aktivitasJudul->setHeaderHeight(ctx_.headerLook().height);
    fu_aktivitasJudul->setFontSize(ctx_.headerLook().fontSize);
    QDialog::showEvent(event);
}

void Tfu_aktivitas::setActivity(const QString& task, const QString& description, const QString& volume,
                                const QString& unit, const QString& standardMinutes)
{
    fuAktivitasAktivitas->setPlainText(task);
    fuAktivitasDeskripsi->setPlainText(description);
    fuAktivitasVolume->setText(volume);
    fuAktivitasSatuan->setText(unit);
    skr_ = standardMinutes;
}

bool Tfu_aktivitas::btSimpanClick()
{
    const QString deskripsi = fuAktivitasDeskripsi->toPlainText();
    const int length = activityrules::descriptionLength(deskripsi);
    if (length == 0) {
        ctx_.messages().warning(QStringLiteral("Kolom deskripsi tidak boleh kosong!"));
        fuAktivitasDeskripsi->setFocus();
        return false;
    }
    // the entry's rule: a change must not leave a description the entry
    // refuses (the server refuses it too)
    if (length < 20) {
        ctx_.messages().information(
            QStringLiteral("Isikan deskripsi aktivitas dengan singkat dan jelas!\r\r* Minimal 20 Karakter/huruf."));
        fuAktivitasDeskripsi->setFocus();
        return false;
    }
    if (fuAktivitasVolume->text().isEmpty()) {
        ctx_.messages().warning(QStringLiteral("Kolom volume tidak boleh kosong!"));
        fuAktivitasVolume->setFocus();
        fuAktivitasVolume->setText(QStringLiteral("0"));
        return false;
    }
    if (fuAktivitasVolume->text().toInt() < 1) {
        ctx_.messages().error(activityrules::volumeRefusal());
        fuAktivitasVolume->setFocus();
        return false;
    }
    // The same working-day rule as at entry: a change must not lift an
    // activity past 480 minutes (the server refuses it too).
    bool skrOk = false;
    const double skr = skr_.toDouble(&skrOk);
    const double volume = fuAktivitasVolume->text().toDouble();
    if (skrOk && activityrules::exceedsWorkingDay(skr, volume)) {
        ctx_.messages().error(activityrules::workingDayRefusal());
        fuAktivitasVolume->setFocus();
        return false;
    }
    if (!ctx_.messages().confirm(QStringLiteral("Simpan perubahan data aktivitas?")))
        return false;
    const bool saved = Envelope(ctx_).retryOnConflict().run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL `kinerja_aktivitas_update`(:var_deskripsi, :var_volume, :var_id)"),
               {{QStringLiteral("var_deskripsi"), deskripsi},
                {QStringLiteral("var_volume"), fuAktivitasVolume->text()},
                {QStringLiteral("var_id"), kode_aktivitas}});
    });
    if (!saved)
        return false;
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDisimpan));
    accept();
    return true;
}
