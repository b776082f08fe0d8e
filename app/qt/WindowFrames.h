// The frames of the program's windows, fixed as each window is shown: all of them keep their
// size, and none offers minimise or maximise.
#pragma once

class QApplication;

namespace tessarline {

// Watches every top-level window of the application from now on.
void FitWindowFrames(QApplication& app);

} // namespace tessarline
