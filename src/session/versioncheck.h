#pragma once

#include <QString>

class OperationHost;

// Asks the server whether this client version must or may be updated and
// tells the user so.
struct VersionCheck {
    bool mandatoryUpdate = false; // the program must end
    QString caption;              // the server's short line under the version

    // False when the server could not answer (its message is shown).
    bool run(OperationHost& host, const QString& appVersion, const QString& downloadSite);
};
