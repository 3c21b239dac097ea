// Control ids of the setup dialog "SETUP_DIALOG". Plain #defines, so that the
// resource compiler and C++ read the same numbers.
#ifndef KANAFLOW_SETTINGS_SETUP_DIALOG_IDS_H
#define KANAFLOW_SETTINGS_SETUP_DIALOG_IDS_H

// Keyboard options. 1003, 1006 and 1010 are enabled only while 1002 is checked.
#define IDC_SHOW_KEYBOARD 1002
#define IDC_SHOW_FINGER_POSITION 1003
#define IDC_SHOW_NEXT_TYPE_KEY 1006
#define IDC_SHOW_KEY_STRING 1010

// Options of the whole program.
#define IDC_DISABLE_PLAY_MUSIC 1005
#define IDC_DISABLE_WINDOW_VIBRATION 1007
#define IDC_FLEXIBLE_INPUT 1079
#define IDC_KEEP_RECORDS 1093
#define IDC_KANA_INPUT_WITH_IME 1008 /* shown, but no setting behind it */
#define IDC_DISABLE_IME_CONTROL 1004

// Options for learners outside Japan: one group box and its radio buttons each.
#define IDC_SHOW_ROMAJI_GROUP 1080
#define IDC_SHOW_ROMAJI_ON 1081
#define IDC_SHOW_ROMAJI_OFF 1082
#define IDC_SHOW_ROMAJI_LATER 1083
#define IDC_KEYBOARD_LAYOUT_GROUP 1084
#define IDC_KEYBOARD_LAYOUT_JAPANESE 1085
#define IDC_KEYBOARD_LAYOUT_US 1086
#define IDC_WINDOW_SCALE_GROUP 1087
#define IDC_WINDOW_SCALE_100 1088
#define IDC_WINDOW_SCALE_125 1089
#define IDC_WINDOW_SCALE_150 1090
#define IDC_WINDOW_SCALE_200 1091
#define IDC_WINDOW_SCALE_SCREEN 1092

// Spelling preferences: one group box and its radio buttons per kana, the
// buttons in the order of the values they stand for (0, 1, 2).
#define IDC_SI_GROUP 1020
#define IDC_SI_SI 1018
#define IDC_SI_SHI 1019
#define IDC_ZI_GROUP 1032
#define IDC_ZI_ZI 1030
#define IDC_ZI_JI 1031
#define IDC_TI_GROUP 1023
#define IDC_TI_TI 1021
#define IDC_TI_CHI 1022
#define IDC_TU_GROUP 1026
#define IDC_TU_TU 1024
#define IDC_TU_TSU 1025
#define IDC_HU_GROUP 1029
#define IDC_HU_HU 1027
#define IDC_HU_FU 1028
#define IDC_SYA_GROUP 1035
#define IDC_SYA_SYA 1033
#define IDC_SYA_SHA 1034
#define IDC_SYU_GROUP 1038
#define IDC_SYU_SYU 1036
#define IDC_SYU_SHU 1037
#define IDC_SYO_GROUP 1041
#define IDC_SYO_SYO 1039
#define IDC_SYO_SHO 1040
#define IDC_TYA_GROUP 1044
#define IDC_TYA_TYA 1042
#define IDC_TYA_CHA 1043
#define IDC_TYU_GROUP 1047
#define IDC_TYU_TYU 1045
#define IDC_TYU_CHU 1046
#define IDC_TYO_GROUP 1050
#define IDC_TYO_TYO 1048
#define IDC_TYO_CHO 1049
#define IDC_JYA_GROUP 1063
#define IDC_JYA_JA 1051
#define IDC_JYA_ZYA 1052
#define IDC_JYA_JYA 1054
#define IDC_JYU_GROUP 1058
#define IDC_JYU_JU 1055
#define IDC_JYU_ZYU 1056
#define IDC_JYU_JYU 1057
#define IDC_JYE_GROUP 1062
#define IDC_JYE_JE 1059
#define IDC_JYE_ZYE 1060
#define IDC_JYE_JYE 1061
#define IDC_JYO_GROUP 1078
#define IDC_JYO_JO 1075
#define IDC_JYO_ZYO 1076
#define IDC_JYO_JYO 1077
#define IDC_KOMOJI_GROUP 1064
#define IDC_KOMOJI_L 1053
#define IDC_KOMOJI_X 1065

#endif
