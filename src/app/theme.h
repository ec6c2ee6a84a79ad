#pragma once

class QApplication;

// The "Light" look: Fusion with a light palette and the Tahoma-like font.
void applyLightTheme(QApplication& app);
