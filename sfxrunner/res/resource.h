#pragma once
// Resource identifiers of the stub.
#define IDI_SFXRUNNER 1
// The configuration document, RCDATA in English (United States); the package tool writes it there.
#define IDR_SFX_CONFIG 222
#define IDR_SFX_CONFIG_LANGUAGE MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)

// Dialog templates.
#define IDD_LANGUAGE 223
#define IDD_PROGRESS 224
#define IDD_EXTRACT_TO 226

// Controls.
#define IDC_LANGUAGE_COMBO 1041
#define IDC_LANGUAGE_PROMPT 1042
#define IDC_PROGRESS_BAR 1043
#define IDC_BROWSE 1045
#define IDC_TARGET_PATH 1046
