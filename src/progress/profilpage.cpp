#include "profilpage.h"

#include "shell/pagecontext.h"
#include "ui/stringgrid.h"

#include <QGroupBox>
#include <QVBoxLayout>

ProfilPage::ProfilPage(PageContext& ctx) : Page(ctx, QStringLiteral("xProfil"), QStringLiteral("xProfilJudul"))
{
    auto* box = new QGroupBox(QStringLiteral("[ Profil PNS ]"), this);
    auto* v = new QVBoxLayout(box);
    sg_profil = new StringGrid(box);
    sg_profil->setObjectName(QStringLiteral("sg_profil"));
    sg_profil->setElasticColumns({1}, 300); // the values give way on a small screen
    v->addWidget(sg_profil);
    body()->addWidget(box);
}

void ProfilPage::showProfile()
{
    const QVector<QStringList>& rows = ctx_.session().profile;
    {
        StringGrid::Batch batch(*sg_profil);
        sg_profil->setColCount(2);
        sg_profil->setRowCount(int(rows.size()));
        if (!rows.isEmpty()) {
            sg_profil->setFixedCols(1);
            sg_profil->setFixedRows(1);
        }
        sg_profil->setColWidth(0, 200);
        sg_profil->setColWidth(1, 650);
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 2 && c < rows[r].size(); ++c)
                sg_profil->setCell(r, c, rows[r][c]);
    }
    if (!rows.isEmpty())
        sg_profil->setHeaderRowHeight(30);
}

void ProfilPage::dxTarvesaItems1Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Profil Saya"));
    showProfile();
    ctx_.showPage(this);
}
