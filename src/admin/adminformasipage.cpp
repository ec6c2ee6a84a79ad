#include "adminformasipage.h"

#include "ue_informasi.h"

#include "shell/pagecontext.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Columns of the grid: the announcement, and out of sight its key and
// order number for a change.
constexpr int kColText = 1;
constexpr int kColId = 2;
constexpr int kColUrutan = 3;

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumWidth(100);
    return b;
}

} // namespace

AdmInformasiPage::AdmInformasiPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xAdmInformasi"), QStringLiteral("xAdmInformasiJudul"))
{
    pgInfoTarvesaTPP = new QTabWidget(this);
    pgInfoTarvesaTPP->setObjectName(QStringLiteral("pgInfoTarvesaTPP"));
    pgInfoTarvesaTPP->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 130px; }"));
    body()->addWidget(pgInfoTarvesaTPP, 1);

    tarvesa_ = buildTab(QStringLiteral("tarvesa"), QStringLiteral("Tarvesa"), "xAdmInformasiTarvesa", "Edit6",
                        "xAdmInformasiTampilTarvesa", "Label92", "sg_adm_informasi_tarvesa", "Tarvesa");
    tpp_ = buildTab(QStringLiteral("tpp"), QStringLiteral("TPP"), "xAdmInformasiTPP", "Edit8", "xAdmInformasiTampilTPP",
                    "Label98", "sg_adm_informasi_tpp", "TPP");
    xAdmInformasiTarvesa = tarvesa_.page;
    Edit6 = tarvesa_.filter;
    xAdmInformasiTampilTarvesa = tarvesa_.show;
    Label92 = tarvesa_.count;
    xAdmInformasiTambahTarvesa = tarvesa_.add;
    xAdmInformasiUbahTarvesa = tarvesa_.change;
    xAdmInformasiHapusTarvesa = tarvesa_.remove;
    sg_adm_informasi_tarvesa = tarvesa_.grid;
    xAdmInformasiTPP = tpp_.page;
    Edit8 = tpp_.filter;
    xAdmInformasiTampilTPP = tpp_.show;
    Label98 = tpp_.count;
    xAdmInformasiTambahTPP = tpp_.add;
    xAdmInformasiUbahTPP = tpp_.change;
    xAdmInformasiHapusTPP = tpp_.remove;
    sg_adm_informasi_tpp = tpp_.grid;

    connect(xAdmInformasiTampilTarvesa, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiTampilTarvesaClick);
    connect(xAdmInformasiTampilTPP, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiTampilTPPClick);
    connect(Edit6, &QLineEdit::returnPressed, this, &AdmInformasiPage::xAdmInformasiTampilTarvesaClick);
    connect(Edit8, &QLineEdit::returnPressed, this, &AdmInformasiPage::xAdmInformasiTampilTPPClick);
    connect(xAdmInformasiTambahTarvesa, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiTambahTarvesaClick);
    connect(xAdmInformasiTambahTPP, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiTambahTPPClick);
    connect(xAdmInformasiUbahTarvesa, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiUbahTarvesaClick);
    connect(xAdmInformasiUbahTPP, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiUbahTPPClick);
    connect(xAdmInformasiHapusTarvesa, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiHapusTarvesaClick);
    connect(xAdmInformasiHapusTPP, &QPushButton::clicked, this, &AdmInformasiPage::xAdmInformasiHapusTPPClick);
    connect(sg_adm_informasi_tarvesa, &QAbstractItemView::doubleClicked, this,
            &AdmInformasiPage::xAdmInformasiUbahTarvesaClick);
    connect(sg_adm_informasi_tpp, &QAbstractItemView::doubleClicked, this, &AdmInformasiPage::xAdmInformasiUbahTPPClick);
    connect(pgInfoTarvesaTPP, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 0)
            xAdmInformasiTarvesaShow();
        else
            xAdmInformasiTPPShow();
    });
}

AdmInformasiPage::Tab AdmInformasiPage::buildTab(const QString& aplikasi, const QString& name, const char* pageName,
                                                 const char* filterName, const char* showName, const char* countName,
                                                 const char* gridName, const char* suffix)
{
    Tab t;
    t.aplikasi = aplikasi;
    t.name = QStringLiteral("Informasi ") + name;
    t.page = new QWidget;
    t.page->setObjectName(QString::fromUtf8(pageName));
    auto* v = new QVBoxLayout(t.page);

    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), t.page);
    auto* fl = new QVBoxLayout(filter);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Text Informasi"), filter));
    t.filter = new QLineEdit(filter);
    t.filter->setObjectName(QString::fromUtf8(filterName));
    t.filter->setMaxLength(200);
    t.filter->setMinimumWidth(360);
    row->addWidget(t.filter);
    t.show = button(QString::fromUtf8(showName), QStringLiteral("Tampilkan Data"), filter);
    row->addWidget(t.show);
    row->addSpacing(12);
    t.count = new QLabel(QStringLiteral("Jumlah data : 0"), filter);
    t.count->setObjectName(QString::fromUtf8(countName));
    row->addWidget(t.count);
    row->addStretch(1);
    fl->addLayout(row);
    auto* hint = new QLabel(QStringLiteral("* isikan dengan sebagian teks dari pengumuman ") + name +
                                QStringLiteral(" yang akan dicari "),
                            filter);
    QFont small = hint->font();
    small.setItalic(true);
    hint->setFont(small);
    fl->addWidget(hint);
    v->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ ") + t.name + QStringLiteral(" ]"), t.page);
    auto* dl = new QVBoxLayout(data);
    auto* bar = new QHBoxLayout;
    const QString s = QString::fromUtf8(suffix);
    t.add = button(QStringLiteral("xAdmInformasiTambah") + s, QStringLiteral("Tambah"), data);
    t.change = button(QStringLiteral("xAdmInformasiUbah") + s, QStringLiteral("Ubah"), data);
    t.remove = button(QStringLiteral("xAdmInformasiHapus") + s, QStringLiteral("Hapus"), data);
    bar->addWidget(t.add);
    bar->addWidget(t.change);
    bar->addWidget(t.remove);
    bar->addStretch(1);
    dl->addLayout(bar);
    t.grid = new StringGrid(data);
    t.grid->setObjectName(QString::fromUtf8(gridName));
    // The text takes the grid's whole width; a longer one shows whole in
    // its tooltip and in the change dialog.
    t.grid->horizontalHeader()->setStretchLastSection(true);
    t.grid->setElasticColumns({1}, 300); // and gives way on a small screen
    dl->addWidget(t.grid, 1);
    v->addWidget(data, 1);

    pgInfoTarvesaTPP->addTab(t.page, t.name);
    return t;
}

void AdmInformasiPage::dxSettingItems2Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Halaman Admin - Setting Informasi Tarvesa dan TPP"));
    ctx_.showPage(this);
    {
        // The first tab is listed once, below, not also by its showing.
        const QSignalBlocker quiet(pgInfoTarvesaTPP);
        pgInfoTarvesaTPP->setCurrentIndex(0);
    }
    xAdmInformasiTampilTarvesaClick();
}

void AdmInformasiPage::list(Tab& tab)
{
    int rows = 0;
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_informasi_cari`(:var_aplikasi, :var_teks)"),
                                  {{QStringLiteral("var_aplikasi"), tab.aplikasi},
                                   {QStringLiteral("var_teks"), tab.filter->text()}});
        rows = rs.recordCount();
        fillGrid(*tab.grid, std::move(rs),
                 {GridColumn::recNo(QStringLiteral("No."), 30),
                  GridColumn::field(QStringLiteral("Pengumuman"), 700, QStringLiteral("pengumuman")),
                  GridColumn::field(QStringLiteral("id"), 0, QStringLiteral("id")),
                  GridColumn::field(QStringLiteral("Urutan"), 0, QStringLiteral("urutan"))});
    });
    if (ok)
        tab.count->setText(QStringLiteral("Jumlah data : ") + QString::number(rows));
}

void AdmInformasiPage::edit(Tab& tab, bool selected)
{
    if (selected && !requireDataRows(*tab.grid, ctx_.messages()))
        return;
    Tfe_informasi dialog(ctx_, tab.aplikasi, tab.name);
    if (selected) {
        const int r = tab.grid->currentRow();
        dialog.setAnnouncement(tab.grid->cell(r, kColId), tab.grid->cell(r, kColText),
                               tab.grid->cell(r, kColUrutan).toInt());
    }
    if (ctx_.dialogs().exec(dialog) == QDialog::Accepted)
        list(tab);
}

void AdmInformasiPage::remove(Tab& tab)
{
    if (!requireDataRows(*tab.grid, ctx_.messages()))
        return;
    const int r = tab.grid->currentRow();
    // The question names the announcement, shortened to a line or two.
    QString text = tab.grid->cell(r, kColText);
    if (text.size() > 120)
        text = text.left(117) + QStringLiteral("...");
    if (!ctx_.messages().confirm(QStringLiteral("Hapus pengumuman terpilih dari ") + tab.name +
                                 QStringLiteral("?\r\r") + text))
        return;
    Envelope del(ctx_);
    del.onFailure(QStringLiteral("Gagal menghapus data!"));
    if (!del.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_informasi_hapus`(:var_id)"),
                   {{QStringLiteral("var_id"), tab.grid->cell(r, kColId)}});
        }))
        return;
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDihapus));
    list(tab);
}

void AdmInformasiPage::xAdmInformasiTampilTarvesaClick() { list(tarvesa_); }
void AdmInformasiPage::xAdmInformasiTampilTPPClick() { list(tpp_); }
void AdmInformasiPage::xAdmInformasiTarvesaShow() { list(tarvesa_); }
void AdmInformasiPage::xAdmInformasiTPPShow() { list(tpp_); }
void AdmInformasiPage::xAdmInformasiTambahTarvesaClick() { edit(tarvesa_, false); }
void AdmInformasiPage::xAdmInformasiTambahTPPClick() { edit(tpp_, false); }
void AdmInformasiPage::xAdmInformasiUbahTarvesaClick() { edit(tarvesa_, true); }
void AdmInformasiPage::xAdmInformasiUbahTPPClick() { edit(tpp_, true); }
void AdmInformasiPage::xAdmInformasiHapusTarvesaClick() { remove(tarvesa_); }
void AdmInformasiPage::xAdmInformasiHapusTPPClick() { remove(tpp_); }
