#include "mainfixture.h"

#include "session/loginpage.h"

void MainFixture::login(const QString& nip, const QString& pass)
{
    w.xLogin->edLoginNIP->setText(nip);
    w.xLogin->edLoginPass->setText(pass);
    w.xLogin->btLoginClick();
}
