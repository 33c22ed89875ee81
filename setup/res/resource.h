#pragma once
// Resource identifiers of the setup program.
#define IDI_SETUP 128
#define IDD_SETUP 100
#define IDC_SETUP_PURPOSE 1001
#define IDC_SETUP_STEP 1002
#define IDC_SETUP_PROGRESS 1003
#define IDC_SETUP_RESULT 1004
