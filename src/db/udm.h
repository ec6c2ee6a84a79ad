#pragma once

#include "connection.h"
#include "connsettings.h"
#include "query.h"

// The data module: the program's one connection and the query that every
// operation runs its statements through. The connection is closed at rest;
// an operation opens it, runs its statements and closes it again.
class Tdm {
public:
    explicit Tdm(db::ConnSettings settings) : settings_(std::move(settings)) {}
    Tdm(const Tdm&) = delete;
    Tdm& operator=(const Tdm&) = delete;

    const db::ConnSettings& settings() const noexcept { return settings_; }

    // Connected := true opens a new connection (throws db::DbError);
    // Connected := false closes it and never fails.
    void setConnected(bool on)
    {
        if (on)
            fdsimpeg_.open(settings_);
        else
            fdsimpeg_.close();
    }
    bool connected() const noexcept { return fdsimpeg_.isOpen(); }

    db::Query& fdsq1() noexcept { return fdsq1_; }

private:
    db::ConnSettings settings_;
    db::Connection fdsimpeg_;
    db::Query fdsq1_{fdsimpeg_};
};
