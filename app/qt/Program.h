// The Linux program, composed once for the shipped start and for the benchmark's: the board
// window, the help dialog behind its Help command and the Linux services behind the dialog.
#pragma once

#include <functional>

namespace tessarline {

class BoardWindowQt;

// Runs the program until its board window closes and returns the exit status. started, when
// given, sees the board window after it has been created and before it is loaded and shown.
int RunProgram(int argc, char* argv[], const std::function<void(BoardWindowQt&)>& started = {});

} // namespace tessarline
