#pragma once

class QSize;
class QWidget;

// Keeps a window at a fixed size, which the window manager is told: its
// design size, or more where its texts need it (another language, a larger
// font), and back again when they need less. The window must have a layout.
void keepFixedSize(QWidget &window, const QSize &design);
