#pragma once

#include "connsettings.h"

#include <memory>

struct st_mysql;
typedef struct st_mysql MYSQL;

namespace db {

// One client connection to the server. Closed when destroyed; move-only.
class Connection {
public:
    Connection() = default;
    Connection(Connection&&) noexcept = default;
    Connection& operator=(Connection&&) noexcept = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens a new connection, closing an open one first. Throws DbError(Connect).
    void open(const ConnSettings& settings);
    void close() noexcept { handle_.reset(); }
    bool isOpen() const noexcept { return handle_ != nullptr; }
    // Whether the server still answers on this connection (one small round
    // trip; never reconnects behind the caller's back, which would lose
    // what the connection carries).
    bool alive() const noexcept;
    MYSQL* handle() const noexcept { return handle_.get(); }

private:
    struct Closer {
        void operator()(MYSQL* m) const noexcept;
    };
    std::unique_ptr<MYSQL, Closer> handle_;
};

} // namespace db
