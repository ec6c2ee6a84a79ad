#pragma once

#include "shell/page.h"

class StringGrid;

// "Profil Saya": the rows of the session's profile, as the dashboard's
// profile load found them.
class ProfilPage : public Page {
    Q_OBJECT
public:
    explicit ProfilPage(PageContext& ctx);

    // Fills the grid from the session's profile (empty before any load).
    void showProfile();

public slots:
    void dxTarvesaItems1Click();

public:
    StringGrid* sg_profil;
};
