#pragma once

#include "db/connsettings.h"
#include "ui/messages.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

// The server of the common arguments PORT SCHEMA PASSWORD (argv[1] to
// argv[3]), as the application account reaches it.
inline db::ConnSettings benchServer(char* argv[])
{
    db::ConnSettings s;
    s.port = QString::fromLocal8Bit(argv[1]).toUInt();
    s.schema = QString::fromLocal8Bit(argv[2]);
    s.password = QString::fromLocal8Bit(argv[3]);
    return s;
}

// The middle of a run's measurements; 0 for none.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Says no to every question and prints anything else: a benchmark that
// meets a message has gone wrong and should say so.
class SilentMessages : public Messages {
public:
    void show(Kind, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    bool confirm(const QString&) override { return false; }
};
