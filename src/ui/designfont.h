#pragma once

#include <QFont>

// The screens were laid out in Tahoma at 13 pixels. Debian has no Tahoma of
// its own, but Wine's fonts package ships one drawn to Tahoma's metrics in a
// folder that fontconfig does not list; this makes it known to the program.
// Safe to call more than once; without the package the fallback font is
// used and widths are scaled to it (designScale).
void registerDesignFont();

// The design font: Tahoma, 13 pixels.
QFont designFont();

// How much wider the given font sets text than the design font: 1.0 for
// Tahoma at 13 pixels, about 1.13 for DejaVu Sans at 13 pixels, more for a
// larger size. A narrower or smaller font answers 1.0: the design widths
// already hold its text.
double designScale(const QFont& font);
