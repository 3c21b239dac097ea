// Sound and IME: WAVE effects read once and played from memory, music through
// MCI with its replay loop, and the input method set and restored on real
// windows. Wine here has no sound device, so the platform's players are only
// asked to return at once and not to crash; what reaches them is checked
// through recording players.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "media/ime_control.h"
#include "media/music.h"
#include "media/wave_sound.h"
#include "platform/text_encoding.h"
#include "support/practice_fixture.h"
#include "support/screen_harness.h"

namespace kanaflow {
namespace {

using testing::TestCanvas;

// ---------------------------------------------------------------------------
// Fixture files

// A file under the temporary folder that is gone when the test ends.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("kanaflow-media-" + std::to_string(random()) + ".wav");
    std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  std::string cp932Path() const { return WideToCp932(path_.wstring()); }

 private:
  std::filesystem::path path_;
};

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void AppendChunk(std::string& out, const char* id, const std::string& body) {
  out += id;
  AppendLittleEndian(out, static_cast<std::uint32_t>(body.size()), 4);
  out += body;
  if (body.size() % 2 != 0) out += '\0';
}

std::string PcmFormat() {
  std::string format;
  AppendLittleEndian(format, 1, 2);     // PCM
  AppendLittleEndian(format, 1, 2);     // mono
  AppendLittleEndian(format, 8000, 4);  // samples per second
  AppendLittleEndian(format, 8000, 4);  // bytes per second
  AppendLittleEndian(format, 1, 2);     // block align
  AppendLittleEndian(format, 8, 2);     // bits per sample
  return format;
}

// A RIFF WAVE file from its chunks, the RIFF size counting them all.
std::string Riff(const std::string& chunks) {
  std::string file = "RIFF";
  AppendLittleEndian(file, static_cast<std::uint32_t>(4 + chunks.size()), 4);
  return file + "WAVE" + chunks;
}

// 8 kHz mono 8-bit PCM. The samples hold bytes that a text-mode read would
// change or stop at (0x1A, CR LF, 0x00).
std::string SampleSamples() { return std::string("\x80\x00\x1A\x0D\x0A\xFF\x7F\x81\x40", 9); }

std::string TinyWave() {
  std::string chunks;
  AppendChunk(chunks, "fmt ", PcmFormat());
  AppendChunk(chunks, "data", SampleSamples());
  return Riff(chunks);
}

// ---------------------------------------------------------------------------
// WAVE effects

// Records what reaches the player, with the bytes it could read at the time.
class RecordingWavePlayer : public WavePlayer {
 public:
  struct Call {
    bool start;  // false: stop
    const void* image;
    std::string bytes;
  };
  std::vector<Call> calls;
  std::size_t StopCount() const {
    std::size_t stops = 0;
    for (const Call& call : calls) stops += call.start ? 0 : 1;
    return stops;
  }

 protected:
  void PlayImage(const void* image) override {
    // The player knows only the pointer: it reads as far as the RIFF size says.
    const auto* bytes = static_cast<const unsigned char*>(image);
    std::uint32_t riffSize = 0;
    for (int i = 7; i >= 4; --i) riffSize = (riffSize << 8) | bytes[i];
    calls.push_back({true, image, std::string(static_cast<const char*>(image), riffSize + 8)});
  }
  void StopPlaying() override { calls.push_back({false, nullptr, {}}); }
};

TEST(WaveSoundTest, ReadsTheWholeFileByteForByte) {
  const std::string wave = TinyWave();
  const TempFile file(wave);
  RecordingWavePlayer player;
  const CWaveSound sound(file.cp932Path(), player);
  EXPECT_TRUE(sound.HasData());
  EXPECT_EQ(sound.FileName(), file.cp932Path());
  EXPECT_EQ(sound.Data(), wave);
  EXPECT_TRUE(player.calls.empty()) << "loading plays nothing";
}

TEST(WaveSoundTest, PlayHandsTheImageInMemoryToThePlayer) {
  const std::string wave = TinyWave();
  const TempFile file(wave);
  RecordingWavePlayer player;
  CWaveSound sound(file.cp932Path(), player);
  sound.Play();
  sound.Play();
  ASSERT_EQ(player.calls.size(), 2u);
  for (const auto& call : player.calls) {
    EXPECT_TRUE(call.start);
    EXPECT_EQ(call.image, sound.Data().data());
    EXPECT_EQ(call.bytes, wave);
  }
}

TEST(WaveSoundTest, NoNameOrUnreadableFileIsSilent) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  struct Row {
    const char* label;
    std::string name;
  } rows[] = {
      {"empty name", ""},
      {"missing file", "no-such-folder/no-such-sound.wav"},
      {"folder, not a file", WideToCp932(folder.wstring())},
  };
  for (const Row& row : rows) {
    RecordingWavePlayer player;
    {
      CWaveSound sound(row.name, player);
      EXPECT_FALSE(sound.HasData()) << row.label;
      EXPECT_TRUE(sound.Data().empty()) << row.label;
      sound.Play();
    }
    EXPECT_TRUE(player.calls.empty()) << row.label << ": nothing played, nothing stopped";
  }
}

TEST(WaveSoundTest, FileThatIsNoWholeWaveIsKeptButNotPlayed) {
  const std::string wave = TinyWave();
  const std::string cut = wave.substr(0, wave.size() - 1);
  const TempFile file(cut);
  RecordingWavePlayer player;
  CWaveSound sound(file.cp932Path(), player);
  EXPECT_TRUE(sound.HasData());
  EXPECT_EQ(sound.Data(), cut);
  sound.Play();
  EXPECT_TRUE(player.calls.empty()) << "the player would read past the end of the block";
}

TEST(WaveSoundTest, AWaveLargerThanTheLimitIsSilentAndOneAtTheLimitPlays) {
  for (const std::size_t size : {kMaxWaveFileBytes, kMaxWaveFileBytes + 2}) {
    std::string chunks;
    AppendChunk(chunks, "fmt ", PcmFormat());
    const std::size_t headers = 12 + chunks.size() + 8;
    AppendChunk(chunks, "data", std::string(size - headers, '\x80'));
    const std::string wave = Riff(chunks);
    ASSERT_EQ(wave.size(), size);
    const TempFile file(wave);
    RecordingWavePlayer player;
    CWaveSound sound(file.cp932Path(), player);
    sound.Play();
    const bool fits = size <= kMaxWaveFileBytes;
    EXPECT_EQ(sound.HasData(), fits) << size;
    EXPECT_EQ(player.calls.size(), fits ? 1u : 0u) << size;
  }
}

TEST(WaveSoundTest, DestroyingTheSoundThatPlaysStopsThePlayerFirst) {
  const TempFile file(TinyWave());
  RecordingWavePlayer player;
  {
    CWaveSound sound(file.cp932Path(), player);
    sound.Play();
  }
  ASSERT_EQ(player.calls.size(), 2u);
  EXPECT_FALSE(player.calls[1].start) << "the block is freed only after the player let go of it";
}

TEST(WaveSoundTest, DestroyingAnotherSoundLeavesThePlayingOneAlone) {
  const TempFile file(TinyWave());
  RecordingWavePlayer player;
  auto typing = std::make_unique<CWaveSound>(file.cp932Path(), player);
  auto miss = std::make_unique<CWaveSound>(file.cp932Path(), player);
  auto never = std::make_unique<CWaveSound>(file.cp932Path(), player);
  typing->Play();
  miss->Play();  // cuts off the typing sound
  typing.reset();
  never.reset();
  EXPECT_EQ(player.StopCount(), 0u) << "only the miss sound may still be read";
  miss.reset();
  EXPECT_EQ(player.StopCount(), 1u);
}

TEST(WaveImageTest, OnlyImagesWhoseChunksLieInsideArePlayable) {
  const std::string format = PcmFormat();
  const std::string samples = SampleSamples();
  std::string formatChunk, dataChunk, oddChunk;
  AppendChunk(formatChunk, "fmt ", format);
  AppendChunk(dataChunk, "data", samples);
  AppendChunk(oddChunk, "LIST", "abc");
  std::string shortFormat;
  AppendChunk(shortFormat, "fmt ", format.substr(0, 14));
  std::string lyingData = "data";
  AppendLittleEndian(lyingData, static_cast<std::uint32_t>(samples.size() + 2), 4);
  lyingData += samples + '\0';
  std::string riffTooLong = Riff(formatChunk + dataChunk);
  riffTooLong[4] = static_cast<char>(riffTooLong[4] + 2);
  std::string notWave = Riff(formatChunk + dataChunk);
  notWave.replace(8, 4, "AVI ");
  struct Row {
    const char* label;
    std::string bytes;
    bool playable;
  } rows[] = {
      {"format and data", Riff(formatChunk + dataChunk), true},
      {"odd chunk with its pad byte before", Riff(formatChunk + oddChunk + dataChunk), true},
      {"bytes after the RIFF form", Riff(formatChunk + dataChunk) + "tail", true},
      {"empty", "", false},
      {"only the RIFF header", Riff(""), false},
      {"last byte cut", Riff(formatChunk + dataChunk).substr(0, Riff(formatChunk + dataChunk).size() - 1), false},
      {"RIFF size past the end", riffTooLong, false},
      {"data size past the RIFF form", Riff(formatChunk + lyingData), false},
      {"no format chunk", Riff(dataChunk), false},
      {"no data chunk", Riff(formatChunk), false},
      {"format chunk too short", Riff(shortFormat + dataChunk), false},
      {"stray bytes inside the form", Riff(formatChunk + dataChunk + "xyz"), false},
      {"not RIFF", "RIFX" + Riff(formatChunk + dataChunk).substr(4), false},
      {"RIFF but not WAVE", notWave, false},
  };
  for (const Row& row : rows) EXPECT_EQ(IsWholeWaveImage(row.bytes), row.playable) << row.label;
}

TEST(WaveSoundTest, ThePlatformPlayerReturnsAtOnce) {
  const std::string wave = TinyWave();
  const TempFile file(wave);
  const DWORD start = GetTickCount();
  {
    CWaveSound sound(file.cp932Path());
    EXPECT_EQ(sound.Data(), wave);
    for (int i = 0; i < 5; ++i) sound.Play();
    CWaveSound silent("");
    silent.Play();
    CWaveSound missing("no-such-sound.wav");
    missing.Play();
  }
  EXPECT_LT(GetTickCount() - start, 1000u);
}

// ---------------------------------------------------------------------------
// Music

constexpr MCIDEVICEID kDevice = 42;

struct MciCommand {
  MCIDEVICEID device;
  UINT message;
  DWORD_PTR flags;
  DWORD_PTR callback = 0;
  std::wstring deviceType{};
  std::wstring element{};
  bool operator==(const MciCommand& other) const {
    return device == other.device && message == other.message && flags == other.flags &&
           callback == other.callback && deviceType == other.deviceType && element == other.element;
  }
};

std::ostream& operator<<(std::ostream& out, const MciCommand& command) {
  return out << "{device " << command.device << ", message 0x" << std::hex << command.message << ", flags 0x"
             << command.flags << std::dec << ", callback " << command.callback << "}";
}

// An MCI that records every command and opens device 42 unless told to fail.
struct RecordingMci {
  std::vector<MciCommand> commands;
  MCIERROR openResult = 0;
  MCIERROR playResult = 0;

  CSound::SendCommand Sender() {
    return [this](MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) -> MCIERROR {
      MciCommand command{device, message, flags};
      if (message == MCI_OPEN) {
        auto* open = reinterpret_cast<MCI_OPEN_PARMSW*>(params);
        command.deviceType = open->lpstrDeviceType;
        command.element = open->lpstrElementName;
        if (openResult == 0) open->wDeviceID = kDevice;
        commands.push_back(command);
        return openResult;
      }
      if (message == MCI_PLAY) command.callback = reinterpret_cast<MCI_PLAY_PARMS*>(params)->dwCallback;
      commands.push_back(command);
      return message == MCI_PLAY ? playResult : 0;
    };
  }
};

HWND FakeWindow() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234)); }

// The commands by their documented numbers.
MciCommand OpenCommand(const std::wstring& type, const std::wstring& element) {
  return {0, 0x0803, 0x2200, 0, type, element};
}
const MciCommand kPlay{kDevice, 0x0806, 0x0001, 0x1234};
const MciCommand kStop{kDevice, 0x0808, 0};
const MciCommand kRewind{kDevice, 0x0807, 0x0100};
const MciCommand kClose{kDevice, 0x0804, 0};

TEST(MusicTest, OpenSendsTheNamesAsTheSetGivesThem) {
  RecordingMci mci;
  CSound music(mci.Sender());
  EXPECT_EQ(music.Open("音楽/曲１.mid", "sequencer"), 0u);
  EXPECT_TRUE(music.opened());
  EXPECT_FALSE(music.playing());
  EXPECT_EQ(music.deviceId(), kDevice);
  const std::vector<MciCommand> expected{OpenCommand(L"sequencer", L"音楽/曲１.mid")};
  EXPECT_EQ(mci.commands, expected);
}

TEST(MusicTest, EmptyNameOpensNothing) {
  RecordingMci mci;
  {
    CSound music(mci.Sender());
    EXPECT_EQ(music.Open("", "MPEGVideo"), static_cast<MCIERROR>(MCIERR_FILENAME_REQUIRED));
    EXPECT_FALSE(music.opened());
    music.Play(FakeWindow());
    music.Stop();
    music.Close();
  }
  EXPECT_TRUE(mci.commands.empty());
}

TEST(MusicTest, EachStepSendsItsCommandsOnce) {
  struct Step {
    const char* label;
    void (*act)(CSound&);
    std::vector<MciCommand> sent;
    bool opened;
    bool playing;
  } steps[] = {
      {"play", [](CSound& music) { music.Play(FakeWindow()); }, {kPlay}, true, true},
      {"play while playing", [](CSound& music) { music.Play(FakeWindow()); }, {}, true, true},
      {"stop", [](CSound& music) { music.Stop(); }, {kStop, kRewind}, true, false},
      {"stop while stopped", [](CSound& music) { music.Stop(); }, {}, true, false},
      {"play again", [](CSound& music) { music.Play(FakeWindow()); }, {kPlay}, true, true},
      {"close while playing", [](CSound& music) { music.Close(); }, {kClose}, false, false},
      {"close again", [](CSound& music) { music.Close(); }, {}, false, false},
      {"play when closed", [](CSound& music) { music.Play(FakeWindow()); }, {}, false, false},
  };
  RecordingMci mci;
  CSound music(mci.Sender());
  ASSERT_EQ(music.Open("bgm.mid", "sequencer"), 0u);
  for (const Step& step : steps) {
    mci.commands.clear();
    step.act(music);
    EXPECT_EQ(mci.commands, step.sent) << step.label;
    EXPECT_EQ(music.opened(), step.opened) << step.label;
    EXPECT_EQ(music.playing(), step.playing) << step.label;
  }
}

TEST(MusicTest, DestructionStopsAndClosesWhatIsOpen) {
  struct Row {
    const char* label;
    bool play;
    std::vector<MciCommand> sent;
  } rows[] = {
      {"playing", true, {kStop, kRewind, kClose}},
      {"opened, not playing", false, {kClose}},
  };
  for (const Row& row : rows) {
    RecordingMci mci;
    {
      CSound music(mci.Sender());
      ASSERT_EQ(music.Open("bgm.mid", "sequencer"), 0u);
      if (row.play) music.Play(FakeWindow());
      mci.commands.clear();
    }
    EXPECT_EQ(mci.commands, row.sent) << row.label;
  }
}

TEST(MusicTest, FailedOpenLeavesNoDeviceToSendTo) {
  RecordingMci mci;
  mci.openResult = MCIERR_FILE_NOT_FOUND;
  {
    CSound music(mci.Sender());
    EXPECT_EQ(music.Open("missing.mid", "sequencer"), static_cast<MCIERROR>(MCIERR_FILE_NOT_FOUND));
    EXPECT_FALSE(music.opened());
    music.Play(FakeWindow());
    EXPECT_FALSE(music.playing());
    music.Stop();
    music.Close();
  }
  ASSERT_EQ(mci.commands.size(), 1u) << "only the open request";
  EXPECT_EQ(mci.commands[0].message, static_cast<UINT>(MCI_OPEN));
}

TEST(MusicTest, RefusedPlayIsTriedAgainNextTime) {
  RecordingMci mci;
  CSound music(mci.Sender());
  ASSERT_EQ(music.Open("bgm.mid", "sequencer"), 0u);
  mci.playResult = MCIERR_HARDWARE;
  music.Play(FakeWindow());
  EXPECT_FALSE(music.playing());
  mci.playResult = 0;
  mci.commands.clear();
  music.Play(FakeWindow());
  EXPECT_TRUE(music.playing());
  EXPECT_EQ(mci.commands, std::vector<MciCommand>{kPlay});
}

TEST(MusicTest, OpeningAgainClosesTheFirstDevice) {
  RecordingMci mci;
  CSound music(mci.Sender());
  ASSERT_EQ(music.Open("bgm.mid", "sequencer"), 0u);
  music.Play(FakeWindow());
  mci.commands.clear();
  ASSERT_EQ(music.Open("end.mid", "sequencer"), 0u);
  const std::vector<MciCommand> expected{kStop, kRewind, kClose, OpenCommand(L"sequencer", L"end.mid")};
  EXPECT_EQ(mci.commands, expected);
}

TEST(MusicTest, NotificationReplaysOnlyAfterASuccessfulEnd) {
  struct Row {
    const char* label;
    WPARAM code;
    std::vector<MciCommand> sent;
  } rows[] = {
      {"successful end", 0x0001, {kStop, kRewind, kPlay}},
      {"superseded", 0x0002, {}},
      {"aborted by a stop", 0x0004, {}},
      {"failure: no busy loop on a device that cannot play", 0x0008, {}},
  };
  for (const Row& row : rows) {
    RecordingMci mci;
    CSound music(mci.Sender());
    ASSERT_EQ(music.Open("bgm.mid", "sequencer"), 0u);
    music.Play(FakeWindow());
    mci.commands.clear();
    EXPECT_EQ(HandleMusicNotify(&music, FakeWindow(), row.code), !row.sent.empty()) << row.label;
    EXPECT_EQ(mci.commands, row.sent) << row.label;
    EXPECT_TRUE(music.playing()) << row.label;
  }
}

TEST(MusicTest, NotificationWithoutMusicDoesNothing) {
  EXPECT_FALSE(HandleMusicNotify(nullptr, FakeWindow(), MCI_NOTIFY_SUCCESSFUL));
}

TEST(MusicTest, PlatformMciFailsAtOnceForAMissingFile) {
  const TestCanvas canvas(100, 100);
  const char* types[] = {"sequencer", "MPEGVideo", "waveaudio"};
  for (const char* type : types) {
    const DWORD start = GetTickCount();
    {
      CSound music;
      EXPECT_NE(music.Open("no-such-folder/no-such-music.mid", type), 0u) << type;
      EXPECT_FALSE(music.opened()) << type;
      music.Play(canvas.window());
      EXPECT_FALSE(music.playing()) << type;
      music.Stop();
      music.Close();
    }
    EXPECT_LT(GetTickCount() - start, 2000u) << type;
  }
  CSound music;
  EXPECT_EQ(music.Open("no-such-music.mid", "sequencer"), 275u) << "MCIERR_FILE_NOT_FOUND";
}

// ---------------------------------------------------------------------------
// IME

struct ImeState {
  bool open;
  DWORD conversion;
  DWORD sentence;
  bool operator==(const ImeState& other) const {
    return open == other.open && conversion == other.conversion && sentence == other.sentence;
  }
};

std::ostream& operator<<(std::ostream& out, const ImeState& state) {
  return out << "{open " << state.open << ", conversion 0x" << std::hex << state.conversion << ", sentence 0x"
             << state.sentence << std::dec << "}";
}

ImeState ReadIme(HWND window) {
  HIMC context = ImmGetContext(window);
  ImeState state{ImmGetOpenStatus(context) != FALSE, 0, 0};
  ImmGetConversionStatus(context, &state.conversion, &state.sentence);
  ImmReleaseContext(window, context);
  return state;
}

void WriteIme(HWND window, const ImeState& state) {
  HIMC context = ImmGetContext(window);
  ImmSetOpenStatus(context, state.open);
  ImmSetConversionStatus(context, state.conversion, state.sentence);
  ImmReleaseContext(window, context);
}

// A screen window and an edit control inside it, as the practice screens have.
class ImeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, canvas_.window(), nullptr,
                            testing::TestInstance(), nullptr);
    ASSERT_NE(edit_, nullptr);
  }
  struct Target {
    const char* label;
    HWND window;
  };
  std::vector<Target> Targets() const { return {{"screen window", canvas_.window()}, {"edit control", edit_}}; }

  TestCanvas canvas_{300, 100};
  HWND edit_ = nullptr;
};

// The documented settings: closed, hiragana, katakana, kana-kanji conversion.
struct SettingRow {
  const char* label;
  ImeSetting setting;
  ImeState expected;
};
const SettingRow kSettings[] = {
    {"closed", kImeClosed, {false, 0x00, 0}},
    {"hiragana", kImeHiragana, {true, 0x19, 0}},
    {"katakana", kImeKatakana, {true, 0x1B, 0}},
    {"conversion", kImeConversion, {true, 0x19, 8}},
};

TEST_F(ImeTest, EachSettingReadsBackFromTheInputContext) {
  for (const Target& target : Targets()) {
    for (const SettingRow& row : kSettings) {
      WriteIme(target.window, {!row.expected.open, 0x03, 0x01});
      ImeModeKeeper keeper;
      keeper.SetImeMode(target.window, row.setting);
      EXPECT_EQ(ReadIme(target.window), row.expected) << target.label << ", " << row.label;
    }
  }
}

TEST_F(ImeTest, SetSavesTheModesItFound) {
  for (const Target& target : Targets()) {
    WriteIme(target.window, {false, 0x03, 0x01});
    ImeModeKeeper keeper;
    EXPECT_FALSE(keeper.saved()) << target.label;
    keeper.SetImeMode(target.window, true, 0x19, 8);
    EXPECT_TRUE(keeper.saved()) << target.label;
    EXPECT_EQ(keeper.savedConversion(), 0x03u) << target.label;
    EXPECT_EQ(keeper.savedSentence(), 0x01u) << target.label;
    // A second request saves what the first one set.
    keeper.SetImeMode(target.window, false, 0, 0);
    EXPECT_EQ(keeper.savedConversion(), 0x19u) << target.label;
    EXPECT_EQ(keeper.savedSentence(), 8u) << target.label;
  }
}

TEST_F(ImeTest, RestorePutsBackTheModesButNotTheOpenStatus) {
  const ImeState before{false, 0x03, 0x01};
  for (const Target& target : Targets()) {
    for (const SettingRow& row : kSettings) {
      WriteIme(target.window, before);
      ImeModeKeeper keeper;
      keeper.SetImeMode(target.window, row.setting);
      keeper.RestoreImeMode(target.window);
      const ImeState expected{row.expected.open, before.conversion, before.sentence};
      EXPECT_EQ(ReadIme(target.window), expected) << target.label << ", " << row.label;
    }
  }
}

TEST_F(ImeTest, RestoreWithoutSetDoesNothing) {
  for (const Target& target : Targets()) {
    const ImeState state{true, 0x1B, 8};
    WriteIme(target.window, state);
    const ImeModeKeeper keeper;
    keeper.RestoreImeMode(target.window);
    EXPECT_EQ(ReadIme(target.window), state) << target.label;
  }
}

// ---------------------------------------------------------------------------
// A run's music and sounds, as the practice screens play them

class RunMediaTest : public ::testing::TestWithParam<PracticeMode> {
 protected:
  RunMediaTest() {
    folder_.Write("data/set.ini",
                  "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=1\r\nQuestionFileName=#q.txt\r\n"
                  "BGMFileName=b.wav\r\nBGMFileType=waveaudio\r\nEndBGMFileName=e.mid\r\nEndBGMFileType=sequencer\r\n"
                  "TypeSoundFileName=./t.wav\r\nMissTypeSoundFileName=./m.wav\r\nEndSoundFileName=./e.wav\r\n");
    folder_.Write("data/q.txt", "井\r\nい\r\n");
    for (const char* name : {"t", "m", "e"}) folder_.Write(std::string(name) + ".wav", Effect(name));
    scene_.UseMedia({mci_.Sender(), &player_});
  }

  // Three effects that differ in their samples, so each is known by its bytes.
  static std::string Effect(const std::string& name) {
    std::string chunks;
    AppendChunk(chunks, "fmt ", PcmFormat());
    AppendChunk(chunks, "data", SampleSamples() + name);
    return Riff(chunks);
  }

  // The effects started since the last call, by name.
  std::string TakeEffects() {
    std::string started;
    for (const auto& call : player_.calls) {
      if (!call.start) continue;
      for (const char* name : {"t", "m", "e"}) {
        if (call.bytes == Effect(name)) started += name;
      }
    }
    player_.calls.clear();
    return started;
  }
  std::vector<MciCommand> TakeCommands() { return std::exchange(mci_.commands, {}); }

  HWND window() const { return scene_.window(); }
  MciCommand Play() const { return {kDevice, 0x0806, 0x0001, reinterpret_cast<DWORD_PTR>(window())}; }
  void MusicEnded() { SendMessageW(window(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, kDevice); }

  // A miss, then the one question answered: the end of the run.
  void MissThenFinish() {
    if (GetParam() == PracticeMode::Basic) {
      testing::SendChar(window(), L'x');
      EXPECT_EQ(TakeEffects(), "m");
      testing::SendChar(window(), L'i');
      return;
    }
    const HWND box = GetDlgItem(window(), 10000);
    testing::SendChar(box, VK_RETURN);  // nothing written yet: a miss
    EXPECT_EQ(TakeEffects(), "m");
    SetWindowTextW(box, L"\x3044");
    TakeEffects();
    testing::SendChar(box, VK_RETURN);
  }

  testing::PracticeFolder folder_;
  RecordingMci mci_;
  RecordingWavePlayer player_;
  testing::PracticeScene scene_;
};

TEST_P(RunMediaTest, TheMusicLoopsWhileTypingAndOnTheResultsAndGivesWayToTheEndMusic) {
  scene_.Open(GetParam());
  EXPECT_EQ(TakeCommands(), std::vector<MciCommand>{OpenCommand(L"waveaudio", L"b.wav")}) << "opened, not played";
  MusicEnded();
  EXPECT_EQ(TakeCommands(), std::vector<MciCommand>{}) << "the countdown ignores the notification";
  for (int tick = 0; tick < 3; ++tick) SendMessageW(window(), WM_TIMER, 0, 0);
  EXPECT_EQ(TakeCommands(), std::vector<MciCommand>{Play()}) << "typing starts the music";
  MusicEnded();
  EXPECT_EQ(TakeCommands(), (std::vector<MciCommand>{kStop, kRewind, Play()})) << "it loops while typing";

  MissThenFinish();
  const std::vector<MciCommand> endMusic{kStop, kRewind, kClose, OpenCommand(L"sequencer", L"e.mid"), Play()};
  EXPECT_EQ(TakeCommands(), endMusic) << "the music is closed and the end music opened and played";
  EXPECT_EQ(TakeEffects(), "e") << "the end sound, and no keystroke sound over it";
  MusicEnded();
  EXPECT_EQ(TakeCommands(), (std::vector<MciCommand>{kStop, kRewind, Play()})) << "it loops on the results";
}

INSTANTIATE_TEST_SUITE_P(BothScreens, RunMediaTest, ::testing::Values(PracticeMode::Basic, PracticeMode::Hiragana),
                         [](const ::testing::TestParamInfo<PracticeMode>& info) {
                           return info.param == PracticeMode::Basic ? std::string("Basic") : std::string("EditBox");
                         });

}  // namespace
}  // namespace kanaflow
