// The client's layers, checked on its sources: an include may only point
// down (app, features, shell, ui, api, db), one feature reaches another only
// through the headers named below, statements are written and their results
// read by position only in src/api.
#include "testconfig.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kSrc = QStringLiteral(TARVESA_SOURCE_DIR "/src");

const QStringList kFeatures = {
    QStringLiteral("activities"), QStringLiteral("supervision"), QStringLiteral("progress"),
    QStringLiteral("session"),    QStringLiteral("settings"),    QStringLiteral("dictionary"),
    QStringLiteral("delegation"), QStringLiteral("admin"),       QStringLiteral("report"),
};

// The small headers through which one feature uses another.
const QStringList kSharedFeatureHeaders = {
    QStringLiteral("activities/activityrules.h"),
    QStringLiteral("report/monthlyreport.h"),
};

int rank(const QString& folder)
{
    static const QStringList order = {QStringLiteral("db"), QStringLiteral("api"), QStringLiteral("ui"),
                                      QStringLiteral("shell")};
    if (const int i = order.indexOf(folder); i >= 0)
        return i;
    if (kFeatures.contains(folder))
        return 4;
    if (folder == QLatin1String("app"))
        return 5;
    return -1;
}

bool includeAllowed(const QString& from, const QString& to, const QString& header)
{
    if (rank(to) < 0 || to == from)
        return true;
    if (kFeatures.contains(from) && kFeatures.contains(to))
        return kSharedFeatureHeaders.contains(header);
    return rank(to) < rank(from);
}

struct Source {
    QString path;   // relative to src/
    QString folder; // its first folder
    QString text;
};

QList<Source> sources()
{
    QList<Source> all;
    QDirIterator it(kSrc, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(kSrc).relativeFilePath(it.next());
        QFile f(it.filePath());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        all.append({path, path.section(QLatin1Char('/'), 0, 0), QString::fromUtf8(f.readAll())});
    }
    return all;
}

// Prints every finding (a failure message is cut short) and says whether
// there was none.
bool none(const QStringList& found)
{
    for (const QString& f : found)
        qWarning("%s", qPrintable(f));
    return found.isEmpty();
}

int lineOf(const QString& text, qsizetype at) { return int(text.left(at).count(QLatin1Char('\n'))) + 1; }

// "path:line: what" for every match of re in the files outside the given
// folders and files.
QStringList findOutside(const QRegularExpression& re, const QStringList& allowed, const QString& what)
{
    QStringList found;
    for (const Source& s : sources()) {
        if (allowed.contains(s.folder) || allowed.contains(s.path))
            continue;
        for (auto m = re.globalMatch(s.text); m.hasNext();) {
            const auto hit = m.next();
            found << QStringLiteral("%1:%2: %3 %4").arg(s.path).arg(lineOf(s.text, hit.capturedStart())).arg(what,
                                                                                                            hit.captured());
        }
    }
    return found;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void everyFolderHasALayer()
    {
        QStringList unknown;
        for (const Source& s : sources())
            if (s.path.contains(QLatin1Char('/')) && rank(s.folder) < 0 && !unknown.contains(s.folder))
                unknown << s.folder;
        QVERIFY2(unknown.isEmpty(), qPrintable(QStringLiteral("folders without a layer: ") + unknown.join(u' ')));
    }

    void includesPointDown()
    {
        static const QRegularExpression include(QStringLiteral("^#include \"(([a-z_]+)/[^\"]+)\""),
                                                QRegularExpression::MultilineOption);
        QStringList upward;
        for (const Source& s : sources()) {
            for (auto m = include.globalMatch(s.text); m.hasNext();) {
                const auto hit = m.next();
                if (includeAllowed(s.folder, hit.captured(2), hit.captured(1)))
                    continue;
                upward << QStringLiteral("%1:%2: %3").arg(s.path).arg(lineOf(s.text, hit.capturedStart())).arg(
                    hit.captured(1));
            }
        }
        QVERIFY(none(upward));
    }

    // Only the statement layer, the connection layer, the operation envelope
    // and the program's connection host may run a statement.
    void statementsAreRunOnlyByTheApi()
    {
        static const QRegularExpression re(QStringLiteral("#include \"db/query\\.h\""));
        const QStringList found = findOutside(
            re, {QStringLiteral("api"), QStringLiteral("db"), QStringLiteral("ui/envelope.cpp"), QStringLiteral("app")},
            QStringLiteral("includes"));
        QVERIFY(none(found));
    }

    void statementTextsLiveInTheApi()
    {
        static const QRegularExpression re(
            QStringLiteral("\"[^\"\\n]*\\b(call\\s+[`\\w]|select\\s[^\"\\n]*\\bfrom\\b|select\\s+date_format|"
                           "insert\\s+into\\b|update\\s+\\w+\\s+set\\b|delete\\s+from\\b)[^\"\\n]*\""),
            QRegularExpression::CaseInsensitiveOption);
        const QStringList found = findOutside(re, {QStringLiteral("api"), QStringLiteral("db")},
                                              QStringLiteral("statement"));
        QVERIFY(none(found));
    }

    // A cell picked by its number silently shows another column when the
    // server adds one; outside the api, results are only copied whole into
    // grids.
    void resultsAreReadByPositionOnlyInTheApi()
    {
        static const QRegularExpression re(
            QStringLiteral("\\.(text|number|raw|isNull)\\([^,()]+,\\s*\\d+\\s*\\)|\\bfirst\\(\\s*\\d+\\s*\\)|\\browCells\\("));
        const QStringList found = findOutside(
            re, {QStringLiteral("api"), QStringLiteral("db"), QStringLiteral("ui/gridmodel.cpp")},
            QStringLiteral("reads"));
        QVERIFY(none(found));
    }

    // The checks above must see the sources at all.
    void theSourcesAreFound() { QVERIFY(sources().size() > 50); }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "test_layout.moc"
