#include "connection.h"

#include "dberror.h"

#include <mysql.h>

namespace db {

void Connection::Closer::operator()(MYSQL* m) const noexcept
{
    mysql_close(m);
}

bool Connection::alive() const noexcept
{
    return handle_ && mysql_ping(handle_.get()) == 0;
}

void Connection::open(const ConnSettings& s)
{
    close();
    std::unique_ptr<MYSQL, Closer> m{mysql_init(nullptr)};
    if (!m)
        throw DbError(DbError::Kind::Connect, "mysql_init failed: out of memory");

    // utf8mb4 before connecting, so the handshake already agrees on it and
    // emoji survive; TCP even for "localhost", since the port matters.
    const unsigned connectTimeout = s.connectTimeoutSec;
    const unsigned readTimeout = s.readTimeoutSec;
    const unsigned writeTimeout = s.writeTimeoutSec;
    const unsigned protocol = MYSQL_PROTOCOL_TCP;
    const my_bool reconnect = 0; // a connection that dropped stays dropped: its binding went with it
    const QByteArray optionFile = s.optionFile.toLocal8Bit();
    if (!optionFile.isEmpty()) {
        mysql_optionsv(m.get(), MYSQL_READ_DEFAULT_FILE, optionFile.constData());
        mysql_optionsv(m.get(), MYSQL_READ_DEFAULT_GROUP, "client");
    }
    mysql_optionsv(m.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
    mysql_optionsv(m.get(), MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    mysql_optionsv(m.get(), MYSQL_OPT_READ_TIMEOUT, &readTimeout);
    mysql_optionsv(m.get(), MYSQL_OPT_WRITE_TIMEOUT, &writeTimeout);
    if (optionFile.isEmpty())
        mysql_optionsv(m.get(), MYSQL_OPT_PROTOCOL, &protocol);
    mysql_optionsv(m.get(), MYSQL_OPT_RECONNECT, &reconnect);
    const QByteArray tlsCa = s.tlsCa.toLocal8Bit();
    if (s.requireTls) {
        const my_bool enforce = 1;
        mysql_optionsv(m.get(), MYSQL_OPT_SSL_ENFORCE, &enforce);
        if (!tlsCa.isEmpty()) {
            const my_bool verify = 1;
            mysql_optionsv(m.get(), MYSQL_OPT_SSL_CA, tlsCa.constData());
            mysql_optionsv(m.get(), MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &verify);
        }
    }

    const QByteArray host = s.host.toUtf8();
    const QByteArray user = s.user.toUtf8();
    const QByteArray pass = s.password.toUtf8();
    const QByteArray schema = s.schema.toUtf8();
    // With an option file, what is not given here comes from it.
    const bool fromFile = !optionFile.isEmpty();
    if (!mysql_real_connect(m.get(), fromFile ? nullptr : host.constData(), fromFile ? nullptr : user.constData(),
                            fromFile ? nullptr : pass.constData(), schema.isEmpty() ? nullptr : schema.constData(),
                            fromFile ? 0 : s.port, nullptr, CLIENT_MULTI_RESULTS)) {
        throw DbError(DbError::Kind::Connect, mysql_error(m.get()), mysql_errno(m.get()),
                      mysql_sqlstate(m.get()));
    }
    handle_ = std::move(m);
}

} // namespace db
