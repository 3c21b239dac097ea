// Background and end music through the media control interface (MCI). The
// music loops by replaying on each notification that a playback completed.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <string>

namespace kanaflow {

class CSound {
 public:
  // How a command reaches MCI; mciSendCommandW unless a test records them.
  using SendCommand = std::function<MCIERROR(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params)>;

  CSound();
  explicit CSound(SendCommand send);
  // Stops and closes the device if it is open.
  ~CSound();
  CSound(const CSound&) = delete;
  CSound& operator=(const CSound&) = delete;

  // Opens `fileName` (CP932) on the MCI device type `deviceType` (CP932, as
  // the question set names it, "MPEGVideo" for instance). Returns MCI's
  // result: 0 when a device is open. An empty name opens nothing and gives
  // MCIERR_FILENAME_REQUIRED. A device that is already open is closed first.
  MCIERROR Open(const std::string& fileName, const std::string& deviceType);
  // Plays from the current position; MCI posts MM_MCINOTIFY to `window` when
  // the playback ends. Nothing when no device is open or it plays already.
  void Play(HWND window);
  // Stops and rewinds to the start. Nothing unless playing.
  void Stop();
  // Closes the device. Nothing is sent when no device is open.
  void Close();

  bool opened() const { return opened_; }
  bool playing() const { return playing_; }
  MCIDEVICEID deviceId() const { return deviceId_; }

 private:
  SendCommand send_;
  MCIDEVICEID deviceId_ = 0;
  bool opened_ = false;
  bool playing_ = false;
};

// The music loop, for MM_MCINOTIFY with its code in `code`: a playback that
// ended by itself (MCI_NOTIFY_SUCCESSFUL) starts again from the beginning;
// any other notification leaves the music alone. Returns false when it left
// the music alone. `music` may be null (no music in this run).
bool HandleMusicNotify(CSound* music, HWND window, WPARAM code);

}  // namespace kanaflow
