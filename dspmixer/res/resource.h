#pragma once
// Resource identifiers of the mixer program.

#define IDI_MIXER 128

// The select window and its three buttons.
#define IDD_SELECT 205
#define IDC_SELECT_SIMPLE 1011
#define IDC_SELECT_ADVANCED 1012
#define IDC_SELECT_CLOSE 1013
