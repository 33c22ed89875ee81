#pragma once
// Helpers of the extraction tests: the fixtures the build made, packages made from them, and
// comparisons of extracted trees.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "VTStatus.h"

namespace extracttest {

// A file or folder under the build's fixture folder, as a Windows path.
std::wstring FixturePath(const std::string& relative);

// Runs the extraction task over `source` into `target`.
veltrano::Status Extract(const std::wstring& source, const std::wstring& target);

// A copy of this test executable with `archive` appended: a package as the build makes one.
bool MakePackage(const std::wstring& archive, const std::wstring& package);
bool CopyOwnExecutable(const std::wstring& destination);

// Every file and folder under `actual` equals the one under `expected`, and no more.
::testing::AssertionResult SameTree(const std::wstring& expected, const std::wstring& actual);

bool GetLastWriteTime(const std::wstring& path, FILETIME& time);
bool SetLastWriteTime(const std::wstring& path, const FILETIME& time);

}  // namespace extracttest
