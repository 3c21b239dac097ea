// Short WAVE effects (typing, miss, end of run), read from disk once when a run
// is set up and played from memory, so a key press never waits for the disk.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kanaflow {

// The platform's simple sound player: it plays one WAVE image at a time, and
// starting one cuts off the one that is playing. It remembers which image it
// was last given, so that the owner of that image can stop it before freeing
// the memory the player may still be reading.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;

  // Starts `image` (a whole RIFF WAVE file in memory) and returns at once.
  void Start(const void* image);
  // Stops the player when `image` is the one it was last given.
  void StopIfPlaying(const void* image);

 protected:
  virtual void PlayImage(const void* image) = 0;
  virtual void StopPlaying() = 0;

 private:
  const void* current_ = nullptr;
};

// The player of the process: PlaySoundW with SND_ASYNC | SND_MEMORY.
WavePlayer& SystemWavePlayer();

// True when `bytes` is a RIFF WAVE image whose chunks all lie inside it, with
// a format chunk and a data chunk. The player follows the sizes in the image,
// so a truncated or lying file would make it read past the end of the block.
bool IsWholeWaveImage(std::string_view bytes);

// The largest WAVE file read: far beyond any sound effect (over a minute of
// CD-quality sound), while a huge or endless file cannot fill the memory.
inline constexpr std::size_t kMaxWaveFileBytes = std::size_t{16} << 20;

class CWaveSound {
 public:
  // `fileName` is CP932, relative to the current directory. An empty name
  // makes a silent sound; so does a file that cannot be read or that is
  // larger than kMaxWaveFileBytes.
  explicit CWaveSound(const std::string& fileName, WavePlayer& player = SystemWavePlayer());
  // Stops the sound first if the player may still be reading this one.
  ~CWaveSound();
  // The player keeps a pointer to the bytes: they must not move.
  CWaveSound(const CWaveSound&) = delete;
  CWaveSound& operator=(const CWaveSound&) = delete;

  // Plays the effect asynchronously, cutting off the effect that is playing.
  // Does nothing without data or when the data is not a whole WAVE image.
  void Play();

  const std::string& FileName() const { return fileName_; }
  bool HasData() const { return loaded_; }
  // The file's bytes exactly as read; empty when there is no data.
  std::string_view Data() const { return data_; }

 private:
  WavePlayer& player_;
  std::string fileName_;
  std::string data_;
  bool loaded_ = false;
  bool playable_ = false;
};

}  // namespace kanaflow
