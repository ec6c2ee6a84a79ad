#include "uu_kualmutu.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <optional>

namespace {

const char* const kGagalMenyimpanNilai = "Gagal menyimpan nilai!";

QLabel* bigLabel(const char* name, QWidget* parent)
{
    auto* l = new QLabel(QStringLiteral("0"), parent);
    l->setObjectName(QString::fromUtf8(name));
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 2);
    l->setFont(f);
    // Wide enough for "100" so the row does not shift while sliding.
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("100.00")));
    return l;
}

QLabel* gradePanel(const char* name, QWidget* parent)
{
    auto* p = new QLabel(QStringLiteral("Kurang"), parent);
    p->setObjectName(QString::fromUtf8(name));
    p->setAlignment(Qt::AlignCenter);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    p->setAutoFillBackground(true);
    QFont f = p->font();
    f.setBold(true);
    p->setFont(f);
    p->setMinimumWidth(p->fontMetrics().horizontalAdvance(QStringLiteral("SANGAT BAIK")) + 24);
    p->setMinimumHeight(28);
    return p;
}

void paint(QLabel* panel, const QColor& colour)
{
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(pal);
}

QSlider* bar(const char* name, QWidget* parent)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::fromUtf8(name));
    s->setRange(0, 100);
    s->setSingleStep(1);
    s->setPageStep(10);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(10);
    s->setValue(0);
    return s;
}

// The server sends the progress with a decimal point; a text in the user's
// own number format is read too. Nothing when it is no number at all.
std::optional<double> readNumber(const QString& text)
{
    bool ok = false;
    double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        v = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace

Tfu_kualmutu::Grade Tfu_kualmutu::gradeOf(int value)
{
    if (value <= 60)
        return {QStringLiteral("KURANG"), QColor(0xFF, 0x00, 0x00)};
    if (value <= 70)
        return {QStringLiteral("CUKUP"), QColor(0xFF, 0xFF, 0x00)};
    if (value <= 80)
        return {QStringLiteral("CUKUP BAIK"), QColor(0xFF, 0xA5, 0x00)};
    if (value <= 90)
        return {QStringLiteral("BAIK"), QColor(0x90, 0xEE, 0x90)};
    return {QStringLiteral("SANGAT BAIK"), QColor(0xAD, 0xD8, 0xE6)};
}

bool Tfu_kualmutu::progressAllows(double progress, double average)
{
    return !(progress <= 30 && average > 80);
}

Tfu_kualmutu::Tfu_kualmutu(PageContext& ctx, const QString& nip, const QString& nama)
    : QDialog(ctx.dialogParent()), ctx_(ctx), nip_(nip), nama_(nama)
{
    setObjectName(QStringLiteral("fu_kualmutu"));
    setWindowTitle(QString());
    setFixedSize(651, 416);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 14);
    fu_kualmutu_judul = new PageHeader(this, QStringLiteral("fu_kualmutu_judul"));
    fu_kualmutu_judul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    fu_kualmutu_judul->setCaption(QStringLiteral("Input Nilai Kualitas Mutu PNS a.n. "));
    v->addWidget(fu_kualmutu_judul);

    auto* g = new QGridLayout;
    g->setContentsMargins(16, 10, 16, 0);
    g->setHorizontalSpacing(12);
    g->setVerticalSpacing(18);
    g->setColumnStretch(1, 1);
    g->addWidget(new QLabel(QStringLiteral("Progres kinerja bulan sebelumnya"), this), 0, 0, 1, 2);
    lbProgress = bigLabel("lbProgress", this);
    g->addWidget(lbProgress, 0, 2, 1, 2, Qt::AlignLeft);

    g->addWidget(new QLabel(QStringLiteral("Ketepatan Pekerjaan"), this), 1, 0);
    tbKetepatan = bar("tbKetepatan", this);
    lbKetepatan = bigLabel("lbKetepatan", this);
    pStatusKetepatan = gradePanel("pStatusKetepatan", this);
    g->addWidget(tbKetepatan, 1, 1);
    g->addWidget(lbKetepatan, 1, 2);
    g->addWidget(pStatusKetepatan, 1, 3);

    g->addWidget(new QLabel(QStringLiteral("Kecepatan Pekerjaan"), this), 2, 0);
    tbKecepatan = bar("tbKecepatan", this);
    lbKecepatan = bigLabel("lbKecepatan", this);
    pStatusKecepatan = gradePanel("pStatusKecepatan", this);
    g->addWidget(tbKecepatan, 2, 1);
    g->addWidget(lbKecepatan, 2, 2);
    g->addWidget(pStatusKecepatan, 2, 3);

    BitBtn10 = new QPushButton(QStringLiteral("Simpan"), this);
    BitBtn10->setObjectName(QStringLiteral("BitBtn10"));
    BitBtn10->setMinimumWidth(100);
    BitBtn10->setAutoDefault(false);
    g->addWidget(BitBtn10, 3, 3, Qt::AlignRight);
    v->addLayout(g);
    v->addStretch(1);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    auto* notes = new QVBoxLayout;
    notes->setContentsMargins(16, 4, 16, 0);
    notes->addWidget(rule);
    notes->addSpacing(4);
    for (const char* line :
         {"Catatan :", "- Pastikan sudah memberikan nilai di KETEPATAN dan KECEPATAN.",
          "- Penilaian diberikan dengan menggeser slider dan setelah nilainya sesuai, klik simpan",
          "- Apabila progress dibawah 30 maka tidak bisa diberikan nilai BAIK/SANGAT BAIK"}) {
        auto* l = new QLabel(QString::fromUtf8(line), this);
        l->setWordWrap(true);
        notes->addWidget(l);
    }
    v->addLayout(notes);

    connect(tbKetepatan, &QSlider::valueChanged, this, &Tfu_kualmutu::tbKetepatanChange);
    connect(tbKecepatan, &QSlider::valueChanged, this, &Tfu_kualmutu::tbKecepatanChange);
    connect(BitBtn10, &QPushButton::clicked, this, &Tfu_kualmutu::BitBtn10Click);
    FormCreate();
}

void Tfu_kualmutu::FormCreate()
{
    paint(pStatusKetepatan, gradeOf(0).colour);
    paint(pStatusKecepatan, gradeOf(0).colour);
}

void Tfu_kualmutu::showEvent(QShowEvent* event)
{
    fu_kualmutu_judul->setHeaderHeight(ctx_.headerLook().height);
    fu_kualmutu_judul->setFontSize(ctx_.headerLook().fontSize);
    QDialog::showEvent(event);
}

void Tfu_kualmutu::showGrade(QSlider* bar, QLabel* label, QLabel* panel)
{
    label->setText(QString::number(bar->value()));
    const Grade g = gradeOf(label->text().toInt());
    panel->setText(g.text);
    paint(panel, g.colour);
}

void Tfu_kualmutu::tbKetepatanChange()
{
    showGrade(tbKetepatan, lbKetepatan, pStatusKetepatan);
}

void Tfu_kualmutu::tbKecepatanChange()
{
    showGrade(tbKecepatan, lbKecepatan, pStatusKecepatan);
}

bool Tfu_kualmutu::BitBtn10Click()
{
    const std::optional<double> progress = readNumber(lbProgress->text());
    if (!progress) {
        // Without a readable progress the rule cannot be applied: save nothing.
        ctx_.messages().warning(
            QStringLiteral("Progress bawahan tidak terbaca, nilai tidak dapat disimpan!"));
        return false;
    }
    const double ketepatan = lbKetepatan->text().toDouble();
    const double kecepatan = lbKecepatan->text().toDouble();
    if (!progressAllows(*progress, (ketepatan + kecepatan) / 2)) {
        ctx_.messages().warning(QStringLiteral("Nilai tidak sesuai progress yang dicapai bawahan!"));
        return false;
    }
    // A slider left at 0 is more often forgotten than meant.
    if ((ketepatan == 0 || kecepatan == 0) &&
        !ctx_.messages().confirm(QStringLiteral("Nilai ketepatan atau kecepatan masih 0.\r"
                                                "Simpan nilai 0 untuk bawahan ini?")))
        return false;

    const QString periode = ctx_.session().periodex;
    QString success;
    Envelope save(ctx_);
    save.onFailure(QString::fromUtf8(kGagalMenyimpanNilai));
    bool ok = false;
    if (status_nilai == QLatin1String("Insert")) {
        success = QStringLiteral("Sukses melakukan penilaian!");
        ok = save.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_kualitas_mutu_insert`(:var_nip,:var_penilai, :var_tahun, "
                                  ":var_bulan, :var_ketepatan, :var_kecepatan)"),
                   {{QStringLiteral("var_nip"), nip_},
                    {QStringLiteral("var_penilai"), ctx_.session().nipLogin},
                    {QStringLiteral("var_tahun"), periode.left(4)},
                    {QStringLiteral("var_bulan"), periode.mid(4, 2)},
                    {QStringLiteral("var_ketepatan"), lbKetepatan->text()},
                    {QStringLiteral("var_kecepatan"), lbKecepatan->text()}});
        });
    } else if (status_nilai == QLatin1String("Update")) {
        success = QStringLiteral("Sukses melakukan update penilaian!");
        ok = save.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_kualitas_mutu_update`(:var_penilai, :var_ketepatan, "
                                  ":var_kecepatan, :var_id)"),
                   {{QStringLiteral("var_penilai"), ctx_.session().nipLogin},
                    {QStringLiteral("var_ketepatan"), lbKetepatan->text()},
                    {QStringLiteral("var_kecepatan"), lbKecepatan->text()},
                    {QStringLiteral("var_id"), idkualmutu}});
        });
    } else {
        // Opened without a mode: there is nothing it could save.
        ctx_.messages().warning(QString::fromUtf8(kGagalMenyimpanNilai));
    }
    if (!ok)
        return false;
    ctx_.messages().information(success);
    emit saved();
    accept();
    return true;
}
