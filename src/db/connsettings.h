#pragma once

#include <QString>

namespace db {

// Where and as whom the client connects. Production values are installation
// settings compiled in (see installsettings.h); tests build their own.
struct ConnSettings {
    QString host = QStringLiteral("127.0.0.1");
    unsigned port = 30306;
    QString schema;
    QString user = QStringLiteral("aplikasi");
    QString password;
    // A server that accepts a connection and never answers must not freeze the
    // window: every network wait is bounded.
    unsigned connectTimeoutSec = 5;
    unsigned readTimeoutSec = 20;
    unsigned writeTimeoutSec = 20;
    // Refuse a connection that is not encrypted. With a CA file the server's
    // certificate must also be signed by it and name the host.
    bool requireTls = false;
    QString tlsCa;
};

} // namespace db
