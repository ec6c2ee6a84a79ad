#pragma once

#include "ui/envelope.h"
#include "api/udm.h"
#include "scripted.h"
#include "testdb.h"

// The smallest host of operations: a data module and recorded messages,
// without the main window.
class TestHost : public OperationHost {
public:
    explicit TestHost(const db::ConnSettings& s) : dm(s) {}
    // A host whose connections act for a NIP logged in through the same
    // server (anonymous for an empty NIP).
    TestHost(const db::ConnSettings& s, const QString& nip) : dm(s)
    {
        if (!nip.isEmpty())
            dm.setSessionToken(testdb::loginToken(s, nip));
    }
    void TryConn() override
    {
        dm.take();
        ++connects;
    }
    void CloseConn() noexcept override { dm.handBack(); }
    void DropConn() noexcept override { dm.drop(); }
    db::Query& query() override { return dm.fdsq1(); }
    Messages& messages() override { return msgs; }
    void refusedByServer(const QString& reason) override { refusals << reason; }

    Tdm dm;
    ScriptedMessages msgs;
    int connects = 0;
    QStringList refusals; // the server's refusals, as the host heard of them
};
