#ifndef VELMORA_MAIN_PROGRAM_STATE_H_
#define VELMORA_MAIN_PROGRAM_STATE_H_

namespace velmora::main {

// Program-wide flags of the main window, false at start.
struct ProgramState {
  // Set only by the tray command "Close ": a close request then ends the program.
  bool QuitRequested = false;
  // The splash has been shown; later displays of the main window do not show it again.
  bool SplashShown = false;
  // Which threat list the latest selection was made in: true for the volume list LstScan,
  // false for the drive list LstScanDrive. Deselecting leaves it.
  bool ActionTarget = false;
};

}  // namespace velmora::main

#endif  // VELMORA_MAIN_PROGRAM_STATE_H_
