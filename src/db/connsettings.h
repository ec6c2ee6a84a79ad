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
    // Administrative tools only: host, port or socket, user and password
    // come from the [client] group of this option file instead (a password
    // never stands on a command line). The client never sets it.
    QString optionFile;
};

} // namespace db
