#pragma once

#include <QString>

class OperationHost;

// Writes one entry of the server's process log in an envelope of its own;
// a failure shows the standard message. True when written.
bool writeLogEntry(OperationHost& host, const QString& nip, const QString& aksi, const QString& keterangan,
                   const QString& target = {});
