#pragma once
// Path values of the configuration ("TargetPath", "Executable"): an optional leading
// "${PROGRAM_FILES}" or "${FOLDERID_…}" folder, then environment variables.
#include <windows.h>
#include <shtypes.h>

#include <string>

#include "VTStatus.h"

using veltrano::Status;

Status ExpandConfigPath(const std::wstring& text, std::wstring& path);

// The identifier of a "FOLDERID_…" name (case-sensitive), or null for an unknown name.
const KNOWNFOLDERID* FindKnownFolder(const std::wstring& name);
