#pragma once

#include "shell/page.h"

class QLabel;

// "Info Aplikasi": who made the system and which version runs.
class InfoAplikasiPage : public Page {
    Q_OBJECT
public:
    explicit InfoAplikasiPage(PageContext& ctx);
    QLabel* Label18;
};
