#pragma once
// Resource ids of the box probe, shared by its program, its dialog template and its tests.
#define IDD_BOXPROBE 100
#define IDC_BOXPROBE_EDIT 101
#define IDC_BOXPROBE_DISABLED 102
#define IDC_BOXPROBE_HIDDEN 103
