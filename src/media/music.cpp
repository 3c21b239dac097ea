#include "media/music.h"

#include <utility>

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

template <typename Params>
DWORD_PTR AsParam(Params& params) {
  return reinterpret_cast<DWORD_PTR>(&params);
}

}  // namespace

CSound::CSound() : CSound(mciSendCommandW) {}

CSound::CSound(SendCommand send) : send_(std::move(send)) {}

CSound::~CSound() {
  Stop();
  Close();
}

MCIERROR CSound::Open(const std::string& fileName, const std::string& deviceType) {
  if (fileName.empty()) return MCIERR_FILENAME_REQUIRED;
  Stop();
  Close();
  // MCI would open a device such as COM1 and wait on it for ever.
  if (LeadsToDevice(fileName)) return MCIERR_FILE_NOT_FOUND;
  const std::wstring type = Cp932ToWide(deviceType);
  const std::wstring element = Cp932ToWide(fileName);
  MCI_OPEN_PARMSW params{};
  params.lpstrDeviceType = type.c_str();
  params.lpstrElementName = element.c_str();
  const MCIERROR result = send_(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, AsParam(params));
  // A failed open leaves no device: commands to device 0 would go to every
  // open device of the process.
  if (result == 0) {
    deviceId_ = params.wDeviceID;
    opened_ = true;
  }
  return result;
}

void CSound::Play(HWND window) {
  if (!opened_ || playing_) return;
  MCI_PLAY_PARMS params{};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(window);
  // When MCI refuses, no notification will come; the next Play tries again.
  playing_ = send_(deviceId_, MCI_PLAY, MCI_NOTIFY, AsParam(params)) == 0;
}

void CSound::Stop() {
  if (!opened_ || !playing_) return;
  MCI_GENERIC_PARMS stop{};
  send_(deviceId_, MCI_STOP, 0, AsParam(stop));
  MCI_SEEK_PARMS seek{};
  send_(deviceId_, MCI_SEEK, MCI_SEEK_TO_START, AsParam(seek));
  playing_ = false;
}

void CSound::Close() {
  const bool wasOpen = opened_;
  opened_ = false;
  playing_ = false;
  if (!wasOpen) return;
  MCI_GENERIC_PARMS params{};
  send_(deviceId_, MCI_CLOSE, 0, AsParam(params));
  deviceId_ = 0;
}

bool HandleMusicNotify(CSound* music, HWND window, WPARAM code) {
  // Only a playback that reached its end starts again. A stop (aborted), a
  // newer command (superseded) or a device that cannot play (failure) must
  // not: a failing device would answer every replay with another failure and
  // keep the program busy forever.
  if (music == nullptr || code != MCI_NOTIFY_SUCCESSFUL) return false;
  music->Stop();
  music->Play(window);
  return true;
}

}  // namespace kanaflow
