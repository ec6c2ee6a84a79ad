#include "designfont.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <algorithm>

namespace {

// Letters, digits and the punctuation of dates, set in Tahoma at 13 pixels
// this sample is kDesignAdvance pixels wide.
const char kSample[] = "Aktivitas Harian 0123456789 -:/.() ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz";
constexpr double kDesignAdvance = 575.0;
constexpr int kDesignPixels = 13;

} // namespace

void registerDesignFont()
{
    static const bool done = [] {
        for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            QFontDatabase::addApplicationFont(QString::fromUtf8(file)); // -1 when missing: the fallback serves
        return true;
    }();
    (void)done;
}

QFont designFont()
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(kDesignPixels);
    return f;
}

double designScale(const QFont& font)
{
    // Against the design size too: a larger font needs wider columns as
    // much as a wider face does.
    const double actual = QFontMetricsF(font).horizontalAdvance(QString::fromUtf8(kSample));
    return std::clamp(actual / kDesignAdvance, 1.0, 3.0);
}
