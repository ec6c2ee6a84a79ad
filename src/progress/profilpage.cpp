#include "profilpage.h"

#include "app/umain.h"
#include "db/stringgrid.h"

#include <QGroupBox>
#include <QVBoxLayout>

ProfilPage::ProfilPage(Tfmain& main) : Page(main, QStringLiteral("xProfil"), QStringLiteral("xProfilJudul"))
{
    auto* box = new QGroupBox(QStringLiteral("[ Profil PNS ]"), this);
    auto* v = new QVBoxLayout(box);
    v->addWidget(main.sg_profil);
    body()->addWidget(box);
}

void ProfilPage::dxTarvesaItems1Click()
{
    main_.styleHeader(header(), QStringLiteral("Profil Saya"));
    main_.showPage(this);
}
