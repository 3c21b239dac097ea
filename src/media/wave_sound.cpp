#include "media/wave_sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "platform/file_system.h"

namespace kanaflow {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kRiffHeaderSize = 12;
constexpr std::uint32_t kPcmFormatSize = 16;

std::uint32_t ReadLittleEndian32(std::string_view bytes, std::size_t pos) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[pos + i]);
  return value;
}

class PlatformWavePlayer final : public WavePlayer {
 protected:
  // SND_ASYNC | SND_MEMORY: the name argument is the image itself, and the
  // call returns while the sound plays.
  void PlayImage(const void* image) override {
    PlaySoundW(static_cast<LPCWSTR>(image), nullptr, SND_ASYNC | SND_MEMORY);
  }
  // Waits until the player has let go of the image it was reading.
  void StopPlaying() override { PlaySoundW(nullptr, nullptr, 0); }
};

}  // namespace

void WavePlayer::Start(const void* image) {
  current_ = image;
  PlayImage(image);
}

void WavePlayer::StopIfPlaying(const void* image) {
  if (image == nullptr || image != current_) return;
  StopPlaying();
  current_ = nullptr;
}

WavePlayer& SystemWavePlayer() {
  static PlatformWavePlayer player;
  return player;
}

bool IsWholeWaveImage(std::string_view bytes) {
  if (bytes.size() < kRiffHeaderSize || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") return false;
  const std::uint64_t end = std::uint64_t{ReadLittleEndian32(bytes, 4)} + kChunkHeaderSize;
  if (end > bytes.size()) return false;
  bool hasFormat = false;
  bool hasData = false;
  std::uint64_t pos = kRiffHeaderSize;
  while (pos + kChunkHeaderSize <= end) {
    const std::string_view id = bytes.substr(static_cast<std::size_t>(pos), 4);
    const std::uint32_t size = ReadLittleEndian32(bytes, static_cast<std::size_t>(pos) + 4);
    const std::uint64_t body = pos + kChunkHeaderSize;
    if (body + size > end) return false;
    if (id == "fmt ") hasFormat = size >= kPcmFormatSize;
    if (id == "data") hasData = true;
    pos = body + size + (size & 1);  // chunks are padded to an even length
  }
  // A few stray bytes before the end would be read as a chunk header that
  // reaches past it.
  return pos >= end && hasFormat && hasData;
}

CWaveSound::CWaveSound(const std::string& fileName, WavePlayer& player) : player_(player), fileName_(fileName) {
  if (fileName_.empty()) return;
  std::optional<std::string> bytes = ReadFileStart(fileName_, kMaxWaveFileBytes + 1);
  if (bytes && bytes->size() <= kMaxWaveFileBytes) {
    data_ = std::move(*bytes);
    loaded_ = true;
    playable_ = IsWholeWaveImage(data_);
  }
}

CWaveSound::~CWaveSound() {
  if (loaded_) player_.StopIfPlaying(data_.data());
}

void CWaveSound::Play() {
  if (playable_) player_.Start(data_.data());
}

}  // namespace kanaflow
