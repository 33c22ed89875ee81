#pragma once
// The tests' dialog template: a resizable popup with one control for each resize rule.
#define IDD_TEST_DIALOG 100
#define IDD_TEST_CHILD 101
#define IDC_TEST_EDIT 1001       // stretches with the width
#define IDC_TEST_BROWSE 1002     // moves with the right edge
#define IDC_TEST_LIST 1003       // stretches both ways
#define IDC_TEST_CORNER 1004     // moves with the bottom-right corner
#define IDC_TEST_LABEL 1005      // no rule: stays where it is
#define IDC_TEST_TALL 1006       // moves with the bottom edge, stretches with the width
