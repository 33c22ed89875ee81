#pragma once
// The one message box of a run, chosen by its final status.
#include "VTStatus.h"

using veltrano::Status;

// Windows codes that have a message of their own.
constexpr Status kStatusAccessDenied = 5;             // ERROR_ACCESS_DENIED
constexpr Status kStatusAccessDeniedHresult = 0x80070005;  // E_ACCESSDENIED
constexpr Status kStatusInvalidDirectory = 267;       // ERROR_DIRECTORY
constexpr Status kStatusPlatformUnsupported = 1633;   // ERROR_INSTALL_PLATFORM_UNSUPPORTED

// The box text for `status`, or null when the status shows no box (success, cancel).
const wchar_t* StatusMessage(Status status);

// Shows the box for `status` under the configuration's title; returns `status` unchanged.
Status ReportStatus(Status status);
