#pragma once

#include "app/page.h"

// "Profil Saya": the profile grid that the dashboard's profile load fills.
class ProfilPage : public Page {
    Q_OBJECT
public:
    explicit ProfilPage(Tfmain& main);

public slots:
    void dxTarvesaItems1Click();
};
