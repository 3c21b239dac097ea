// The screens' own figures, measured inside this process with the real
// screens and a real message loop.
#pragma once

namespace kanaflow::bench {

// From an empty scene to the main menu painted in its window
// (CScene + ShowMainMenu + UpdateWindow), several times.
void MeasureMenuStart();

// A character sent to the basic screen and its frame repainted
// (SendChar + UpdateWindow), over 500 keys.
void MeasureKeystrokeToFrame();

// A folder of 5,000 sets on the selection screen: the screen opened on it
// (the library scanned and the list filled), and the set list filled again
// by a click on the folder, as the user clicks it.
void MeasureLargeFolder();

// Ini files of a gibibyte (sparse: a hole after the keys), read to their
// first MiB: the selection screen opened on a library holding such a set
// file, and the basic practice screen opened with such a Setting.ini, each
// with the growth of the process's peak memory.
void MeasureLargeIni();

// The processor time the process takes while a practice screen waits in its
// running state with its 100 ms timer, over 20 seconds of real ticks.
void MeasureIdleCpu();

}  // namespace kanaflow::bench
