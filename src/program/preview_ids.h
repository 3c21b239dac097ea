// The main menu's preview pictures, bitmap resources of the program: plain
// #defines, so that the resource compiler and C++ read the same numbers.
#ifndef KANAFLOW_PROGRAM_PREVIEW_IDS_H
#define KANAFLOW_PROGRAM_PREVIEW_IDS_H

#define IDB_PREVIEW_SETUP 106
#define IDB_PREVIEW_BASIC 107
#define IDB_PREVIEW_HIRAGANA 108
#define IDB_PREVIEW_KANJI_KANA 109

#endif
