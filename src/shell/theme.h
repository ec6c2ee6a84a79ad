#pragma once

class QApplication;

// The "Light" look: Fusion with a light palette and the design font (Tahoma).
void applyLightTheme(QApplication& app);
