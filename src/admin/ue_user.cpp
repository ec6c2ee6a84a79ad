#include "ue_user.h"

#include "adminlists.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/keyfilters.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Captions of rgLevel and the stored levels they give.
const char* const kCaptions[] = {"Admin Sektira", "Admin SKPD", "Admin Supervisi"};
const char* const kLevels[] = {"Admin Sektira", "Admin SKPD", "Supervisor"};

} // namespace

Tfe_user::Tfe_user(PageContext& ctx) : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("fe_user"));
    setWindowTitle(QStringLiteral("User"));
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(5, 5, 5, 5);
    fe_userJudul = new PageHeader(this, QStringLiteral("fe_userJudul"));
    fe_userJudul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    outer->addWidget(fe_userJudul);

    auto* form = new QFormLayout;
    form->setContentsMargins(6, 8, 6, 0);
    edNIP = new QLineEdit(this);
    edNIP->setObjectName(QStringLiteral("edNIP"));
    edNIP->setMaxLength(18);
    edNIP->setMinimumWidth(edNIP->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000000000")) + 12);
    digitsOnly(edNIP);
    form->addRow(QStringLiteral("NIP"), edNIP);
    form->addRow(QString(), adminlists::hint(QStringLiteral("* Ketikkan 18 digit NIP tanpa SPASI"), this));
    outer->addLayout(form);

    rgLevel = new QGroupBox(QStringLiteral("[ hak akses ]"), this);
    rgLevel->setObjectName(QStringLiteral("rgLevel"));
    auto* rl = new QVBoxLayout(rgLevel);
    levels_ = new QButtonGroup(this);
    QRadioButton** items[] = {&rgLevelItem0, &rgLevelItem1, &rgLevelItem2};
    for (int i = 0; i < 3; ++i) {
        *items[i] = new QRadioButton(QString::fromUtf8(kCaptions[i]), rgLevel);
        (*items[i])->setObjectName(QStringLiteral("rgLevelItem%1").arg(i));
        levels_->addButton(*items[i], i);
        rl->addWidget(*items[i]);
    }
    outer->addWidget(rgLevel);

    btSimpan = new QPushButton(QStringLiteral("Simpan"), this);
    btSimpan->setObjectName(QStringLiteral("btSimpan"));
    btSimpan->setAutoDefault(false);
    btSimpan->setMinimumWidth(90);
    outer->addWidget(btSimpan, 0, Qt::AlignRight);
    outer->addStretch(1);

    connect(btSimpan, &QPushButton::clicked, this, &Tfe_user::btSimpanClick);
    // A fixed border: the design size, or what the font in use needs.
    setFixedSize(sizeHint().expandedTo(QSize(307, 251)));
}

void Tfe_user::showEvent(QShowEvent* event)
{
    fe_userJudul->setHeaderHeight(ctx_.headerLook().height);
    fe_userJudul->setFontSize(ctx_.headerLook().fontSize);
    setFixedSize(sizeHint().expandedTo(QSize(307, 251)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

int Tfe_user::levelIndex() const
{
    return levels_->checkedId();
}

void Tfe_user::setLevelIndex(int index)
{
    if (QAbstractButton* b = levels_->button(index))
        b->setChecked(true);
}

QString Tfe_user::levelName() const
{
    const int i = levelIndex();
    return i < 0 ? QString() : QString::fromUtf8(kLevels[i]);
}

bool Tfe_user::btSimpanClick()
{
    const QString nip = edNIP->text();
    if (nip.size() < 18) {
        ctx_.messages().warning(QStringLiteral("angka NIP kurang dari 18 digit, silahkan periksa kembali!"));
        return false;
    }
    const QString level = levelName();
    if (level.isEmpty()) {
        ctx_.messages().warning(QStringLiteral("Pilih dulu hak akses yang akan diberikan!"));
        return false;
    }

    long long jumlah = 0;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            jumlah = q.open(QStringLiteral("CALL `kinerja_pns_cek_jumlah_nip`(:var_kode)"),
                            {{QStringLiteral("var_kode"), nip}})
                         .number(0, 0);
        }))
        return false;
    if (jumlah == 0) {
        ctx_.messages().information(QStringLiteral("Tidak ada PNS aktif dengan NIP ") + nip + QStringLiteral("!"));
        return false;
    }

    bool registered = false;
    QString nama;
    QString current;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs =
                q.open(QStringLiteral("CALL `kinerja_user_level_cek`(:var_nip)"), {{QStringLiteral("var_nip"), nip}});
            registered = rs.recordCount() > 0;
            nama = rs.first(QStringLiteral("nama_lengkap"));
            current = rs.first(QStringLiteral("access_level"));
        }))
        return false;
    if (!registered) {
        ctx_.messages().warning(QStringLiteral("PNS dengan NIP ") + nip +
                                QStringLiteral(" belum punya akun Tarvesa.\rYang bersangkutan harus registrasi "
                                               "terlebih dahulu!"));
        return false;
    }
    if (nip == ctx_.session().nip()) {
        ctx_.messages().warning(QStringLiteral("Hak akses akun sendiri tidak bisa diubah!"));
        return false;
    }
    if (current == level) {
        ctx_.messages().information(nama + QStringLiteral(" sudah ber-hak akses ") + level + QStringLiteral("."));
        return false;
    }
    if (!ctx_.messages().confirm(QStringLiteral("Ubah hak akses ") + nama + QStringLiteral(" (NIP ") + nip +
                                 QStringLiteral(")\rdari ") + current + QStringLiteral(" menjadi ") + level +
                                 QStringLiteral("?")))
        return false;

    Envelope save(ctx_);
    save.onFailure(QString::fromUtf8(stdmsg::GagalMenyimpan));
    if (!save.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_user_level_update`(:var_nip, :var_level)"),
                   {{QStringLiteral("var_nip"), nip}, {QStringLiteral("var_level"), level}});
        }))
        return false;
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDisimpan));
    emit saved();
    accept();
    return true;
}
