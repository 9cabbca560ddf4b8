// Resource numbers of the program.
#pragma once

#define IDI_NIGHTGLASS 101

#define IDR_NOISE 2
#define IDR_SPLASH 5
#define IDR_SCENE 107

#define IDS_DISPLAY_NAME 1000

// Controls without an id of their own.
#define IDC_STATIC -1

// The settings dialog of Configure mode.
#define IDD_SETTINGS 106
#define IDC_DISPLAY_SETTINGS 1006
#define IDC_SOUND_SETTINGS 1007
#define IDC_WEBSITE 1017
#define IDC_PICTURE_POSITION 1023

// The sound dialog.
#define IDD_SOUND_SETTINGS 2214
#define IDC_VOLUME 1021
#define IDC_MUTE 1022

// The display-settings dialog: 200 edits one monitor, 201 has a tab per
// monitor.
#define IDD_DISPLAY_SETTINGS 200
#define IDD_DISPLAY_SETTINGS_TABS 201
#define IDC_MONITOR_TABS 2000
#define IDC_TAB_PATTERN 2001
#define IDC_ADAPTER_NAME 2002
#define IDC_RENDERING 2003
#define IDC_ADAPTER_HELP 2004
#define IDC_DISABLE_HARDWARE 2005
#define IDC_USAGE_GROUP 2006
#define IDC_SHOW_SAVER 2007
#define IDC_SHOW_NOTHING 2008
#define IDC_MODE_GROUP 2009
#define IDC_MODE_LABEL 2010
#define IDC_MODE_LIST 2011
#define IDC_AUTOMATIC_TEXT 2012
#define IDC_MODE_NOTE 2013
#define IDC_DUAL_GROUP 2014
#define IDC_ALL_SCREENS_SAME 2015
#define IDC_MODE_PATTERN 2016

// What the display-settings dialog says of an adapter: the help texts
// 2200 to 2209 and the rendering texts.
#define IDS_HELP_HARDWARE 2200
#define IDS_HELP_HARDWARE_LACKS_SOFTWARE_USED 2201
#define IDS_HELP_HARDWARE_AND_SOFTWARE_LACK 2202
#define IDS_HELP_HARDWARE_LACKS_NO_SOFTWARE 2203
#define IDS_HELP_NO_HARDWARE_SOFTWARE_USED 2204
#define IDS_HELP_NO_HARDWARE_SOFTWARE_LACKS 2205
#define IDS_HELP_NO_RENDERER 2206
#define IDS_HELP_DISABLED_SOFTWARE_USED 2207
#define IDS_HELP_DISABLED_SOFTWARE_LACKS 2208
#define IDS_HELP_DISABLED_NO_SOFTWARE 2209
#define IDS_RENDERING_HARDWARE 2210
#define IDS_RENDERING_SOFTWARE 2211
#define IDS_RENDERING_NONE 2212

// Compiled effects (RT_RCDATA), under the numbers by which documents' module
// links name them; the build compiles them from res/effects.
#define IDR_EFFECT_HEATHAZE 63
#define IDR_EFFECT_BACKGROUNDCOPY 75
#define IDR_EFFECT_LIGHT 76
#define IDR_EFFECT_WAVES 77
#define IDR_EFFECT_PATTERN 78
#define IDR_EFFECT_UNDERWATER 88
#define IDR_EFFECT_WATER 90
#define IDR_EFFECT_MOVE 91
#define IDR_EFFECT_FIRE 92
#define IDR_EFFECT_GLOW 97
#define IDR_EFFECT_EXPAND 102

// Meshes ("DDS" X files) under the numbers documents' module links name them
// by; the build writes them with tools/meshgen.
#define IDR_MESH_BUTTERFLY_BODY 68
#define IDR_MESH_BUTTERFLY_WING 69
#define IDR_MESH_CLOCK_PLATE 70
