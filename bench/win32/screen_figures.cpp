#include "screen_figures.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/scene.h"
#include "program/question_select_menu.h"
#include "figure_report.h"
#include "program/program_screens.h"
#include "platform/text_encoding.h"
#include "support/practice_fixture.h"
#include "support/screen_harness.h"
#include "typing/typing1_window.h"
#include "typing/typing_window.h"

namespace kanaflow::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMenuStarts = 30;
constexpr int kTimedKeys = 500;
constexpr double kKeystrokeGoalMs = 2;
constexpr DWORD kIdleMs = 20000;
constexpr double kIdleGoalPercent = 1;
constexpr int kLargeFolderSets = 5000;
constexpr int kLargeFolderRuns = 7;
constexpr double kFillGoalMs = 500;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A basic-mode set of `count` questions that take 8 keys each ("rennshuu").
void WriteRenshuuSet(const testing::PracticeFolder& folder, int count) {
  folder.Write("data/set.ini", "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=" + std::to_string(count) +
                                   "\r\nQuestionFileName=#q.txt\r\n");
  std::string questions;
  for (int i = 0; i < count; ++i) questions += "練習\r\nれんしゅう\r\n";
  folder.Write("data/q.txt", questions);
}

// The practice screen of `mode` past its countdown, in its running state.
void OpenRunning(testing::PracticeScene& scene, PracticeMode mode) {
  scene.Open(mode);
  for (int tick = 0; tick < 3; ++tick) SendMessageW(scene.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
  testing::PumpMessages();
}

ULONGLONG ProcessCpu100ns() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

// A real message loop for `ms`; returns how many running-timer ticks
// reached `window`.
int RunMessageLoop(HWND window, DWORD ms) {
  int ticks = 0;
  const DWORD start = GetTickCount();
  MSG message{};
  // The timer wakes the loop ten times a second, so the time is checked often.
  while (GetTickCount() - start < ms && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == window && message.message == WM_TIMER && message.wParam == CTypingWindow::kRunningTimer) {
      ++ticks;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return ticks;
}

// Processor time over a real message loop of kIdleMs, in % of one core, and
// the running-timer ticks that reached `window`.
struct IdleFigure {
  double percent;
  int ticks;
  double wallMs;
};

IdleFigure MeasureLoop(HWND window) {
  RunMessageLoop(window, 1000);  // settles: the first frames and fonts
  const ULONGLONG cpuBefore = ProcessCpu100ns();
  const Clock::time_point start = Clock::now();
  const int ticks = RunMessageLoop(window, kIdleMs);
  const double wallMs = MillisecondsSince(start);
  const double cpuMs = static_cast<double>(ProcessCpu100ns() - cpuBefore) / 1e4;
  return {cpuMs / wallMs * 100, ticks, wallMs};
}

std::string TicksDetail(const IdleFigure& figure) {
  return std::to_string(figure.ticks) + " ticks in " + std::to_string(static_cast<int>(figure.wallMs)) + " ms";
}

// What the system itself takes for a window whose 100 ms timer does nothing:
// the share of the figures below that no screen can save.
void MeasureIdleBaseline() {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                                      testing::TestInstance(), nullptr);
  SetTimer(window, CTypingWindow::kRunningTimer, CTypingWindow::kRunningPeriod, nullptr);
  const IdleFigure figure = MeasureLoop(window);
  DestroyWindow(window);
  PrintFigure("idle CPU, plain window, 100 ms timer doing nothing", figure.percent, "%", std::nullopt,
              TicksDetail(figure));
}

void MeasureIdle(const char* name, PracticeMode mode) {
  testing::PracticeFolder folder;
  WriteRenshuuSet(folder, 10);
  testing::PracticeScene scene;
  OpenRunning(scene, mode);
  const IdleFigure figure = MeasureLoop(scene.window());
  const bool running = static_cast<CTypingWindow*>(scene.current())->state() == PracticeState::Running;
  PrintFigure(std::string("idle CPU, ") + name + " running, 100 ms timer", figure.percent, "%", kIdleGoalPercent,
              TicksDetail(figure) + (running ? "" : ", NOT RUNNING"));
}

}  // namespace

void MeasureMenuStart() {
  ProgramScreens screens;
  std::vector<double> times;
  for (int run = 0; run < kMenuStarts; ++run) {
    CScene scene(testing::TestInstance(), screens);
    const Clock::time_point start = Clock::now();
    scene.ShowMainMenu();
    UpdateWindow(scene.currentScreen()->handle());
    times.push_back(MillisecondsSince(start));
    DestroyWindow(scene.currentScreen()->handle());
    testing::PumpMessages();
  }
  const double first = times.front();
  PrintFigure("main menu painted, in-process (median of " + std::to_string(kMenuStarts) + ")", Median(times), "ms",
              std::nullopt, "first " + std::to_string(first).substr(0, 6) + " ms");
}

void MeasureKeystrokeToFrame() {
  testing::PracticeFolder folder;
  WriteRenshuuSet(folder, 100);
  testing::PracticeScene scene;
  OpenRunning(scene, PracticeMode::Basic);
  const HWND window = scene.window();
  const std::string keys = "rennshuu";
  std::vector<double> times;
  for (int key = 0; key < kTimedKeys + static_cast<int>(keys.size()); ++key) {
    const Clock::time_point start = Clock::now();
    testing::SendChar(window, static_cast<wchar_t>(keys[static_cast<std::size_t>(key) % keys.size()]));
    UpdateWindow(window);
    // The first question warms up: the fonts and the keyboard's first frame.
    if (key >= static_cast<int>(keys.size())) times.push_back(MillisecondsSince(start));
    if (key % keys.size() == keys.size() - 1) testing::PumpMessages();
  }
  const auto& matcher = static_cast<Typing1Window*>(scene.current())->matcher();
  const bool allRight = matcher.counters().missCount == 0 && matcher.counters().typedKeys == kTimedKeys + 8;
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  PrintFigure("keystroke to repainted frame, basic screen (median of " + std::to_string(kTimedKeys) + ")",
              Median(times), "ms", kKeystrokeGoalMs,
              "90th percentile " + std::to_string(sorted[sorted.size() * 9 / 10]).substr(0, 5) + " ms" +
                  (allRight ? "" : ", KEYS NOT ALL RIGHT"));
}

void MeasureLargeFolder() {
  testing::PracticeFolder folder;
  folder.Write("data/first.ini", "[TypingQuesitonSetup]\r\nQuestionNumber=1\r\nQuestionFileName=#q.txt\r\n");
  for (int i = 0; i < kLargeFolderSets; ++i) {
    const std::string number = std::to_string(i);
    folder.Write("data/large/set" + number + ".ini",
                 "[TypingQuesitonSetup]\r\nVersion=5\r\nTitle=問題集 " + number +
                     "\r\nMessage=たくさんある問題集のひとつ\r\nQuestionNumber=10\r\nQuestionFileName=#q.txt\r\n");
  }
  ProgramScreens screens;
  std::vector<double> opened, filled;
  int listed = 0;
  for (int run = 0; run < kLargeFolderRuns; ++run) {
    QuestionSelectMenu::ForgetPositions();
    CScene scene(testing::TestInstance(), screens);
    Clock::time_point start = Clock::now();
    scene.ShowQuestionSelect();
    const HWND window = scene.currentScreen()->handle();
    UpdateWindow(window);
    opened.push_back(MillisecondsSince(start));
    const HWND categories = GetDlgItem(window, QuestionSelectMenu::kCategoryListId);
    const HWND sets = GetDlgItem(window, QuestionSelectMenu::kSetListId);
    RECT item{};
    SendMessageW(categories, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    start = Clock::now();
    SendMessageW(categories, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(categories, WM_LBUTTONUP, 0, at);
    UpdateWindow(sets);
    filled.push_back(MillisecondsSince(start));
    listed = static_cast<int>(SendMessageW(sets, LB_GETCOUNT, 0, 0));
    DestroyWindow(window);
    testing::PumpMessages();
  }
  const std::string detail = std::to_string(listed) + " sets listed";
  PrintFigure("folder of 5,000 sets: list filled by a click (median of " + std::to_string(kLargeFolderRuns) + ")",
              Median(filled), "ms", kFillGoalMs, detail);
  PrintFigure("folder of 5,000 sets: selection screen opened (median of " + std::to_string(kLargeFolderRuns) + ")",
              Median(opened), "ms", std::nullopt, "the library scanned, 5,001 set files read");
}

namespace {

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
}

// `relative` in the folder made a gibibyte long: its bytes, then a hole.
void MakeGibibyte(const testing::PracticeFolder& folder, const std::string& relative, const std::string& bytes) {
  folder.Write(relative, bytes);
  std::filesystem::resize_file(std::filesystem::path(Cp932ToWide(folder.path() + "/" + relative)),
                               std::uintmax_t{1} << 30);
}

std::string PeakDetail(double before) {
  return "peak memory +" + std::to_string(PeakMegabytes() - before).substr(0, 5) + " MB";
}

}  // namespace

void MeasureLargeIni() {
  {
    testing::PracticeFolder folder;
    MakeGibibyte(folder, "data/large.ini",
                 "[TypingQuesitonSetup]\r\nTitle=large\r\nQuestionNumber=1\r\nQuestionFileName=#q.txt\r\n");
    ProgramScreens screens;
    CScene scene(testing::TestInstance(), screens);
    const double before = PeakMegabytes();
    const Clock::time_point start = Clock::now();
    scene.ShowQuestionSelect();
    UpdateWindow(scene.currentScreen()->handle());
    const double took = MillisecondsSince(start);
    const int listed = static_cast<int>(SendMessageW(
        GetDlgItem(scene.currentScreen()->handle(), QuestionSelectMenu::kSetListId), LB_GETCOUNT, 0, 0));
    PrintFigure("set file of 1 GiB: selection screen opened", took, "ms", std::nullopt,
                PeakDetail(before) + ", " + std::to_string(listed) + " set listed");
    DestroyWindow(scene.currentScreen()->handle());
    testing::PumpMessages();
  }
  {
    testing::PracticeFolder folder;
    WriteRenshuuSet(folder, 10);
    MakeGibibyte(folder, "Setting.ini", "[Setting]\r\nShowKeyboard=1\r\n");
    testing::PracticeScene scene;
    const double before = PeakMegabytes();
    const Clock::time_point start = Clock::now();
    scene.Open(0);
    UpdateWindow(scene.window());
    PrintFigure("Setting.ini of 1 GiB: basic practice screen opened", MillisecondsSince(start), "ms", std::nullopt,
                PeakDetail(before));
  }
}

void MeasureIdleCpu() {
  MeasureIdleBaseline();
  MeasureIdle("basic screen", PracticeMode::Basic);
  MeasureIdle("edit-box screen", PracticeMode::Hiragana);
}

}  // namespace kanaflow::bench
