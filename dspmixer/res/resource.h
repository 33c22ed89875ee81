#pragma once
// Resource identifiers of the mixer program.

#define IDI_MIXER 128

// The select window and its three buttons.
#define IDD_SELECT 205
#define IDC_SELECT_SIMPLE 1011
#define IDC_SELECT_ADVANCED 1012
#define IDC_SELECT_CLOSE 1013

// The simple mixer window: the four faders, their value and name texts, the no-device text.
#define IDD_SIMPLE_MIXER 206
#define IDC_SIMPLE_SLIDER_PLAYBACK 1014
#define IDC_SIMPLE_SLIDER_RECORDING 1015
#define IDC_SIMPLE_SLIDER_MONITOR 1016
#define IDC_SIMPLE_SLIDER_LOOPBACK 1017
#define IDC_SIMPLE_VALUE_PLAYBACK 1018
#define IDC_SIMPLE_VALUE_RECORDING 1019
#define IDC_SIMPLE_VALUE_LOOPBACK 1020
#define IDC_SIMPLE_VALUE_MONITOR 1021
#define IDC_SIMPLE_NAME_PLAYBACK 1025
#define IDC_SIMPLE_NAME_RECORDING 1026
#define IDC_SIMPLE_NAME_LOOPBACK 1027
#define IDC_SIMPLE_NAME_MONITOR 1028
#define IDC_SIMPLE_NO_DEVICE 1029

// The no-device panel of the advanced window.
#define IDD_NO_DEVICE 209
#define IDC_NO_DEVICE_TEXT 1024

// The advanced mixer window and its child dialogs: crosspoint cells, row and column labels,
// and the node control popup.
#define IDD_FULL_MIXER 130
#define IDD_MIXER_CELL 201
#define IDD_LABEL_ROW 202
#define IDD_LABEL_COLUMN 203
#define IDD_NODE_CONTROL 204
#define IDC_LABEL_ROW_NAME 1005
#define IDC_CELL_VALUE 1006
#define IDC_NODE_FADER 1007
#define IDC_NODE_VALUE 1009
#define IDC_LABEL_COLUMN_NAME 1010
#define IDC_LABEL_METER 1022
#define IDC_LABEL_GAIN 1023
