#pragma once
// The fixture of the package's end-to-end tests: a clean prefix (cleaned again at the end), a
// temporary folder of the test's own for the programs it starts (setup's log and the unpacked
// package land there), and runs of setup.exe and of the whole package.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SetupTestSupport.h"
#include "StubPackage.h"
#include "UiDriver.h"

namespace setuptest {

class SetupFixture : public ::testing::Test {
 protected:
  SetupFixture();

  std::wstring LogFile() const { return Join(temp_, kLogFileName); }
  std::vector<std::wstring> Log() const { return LogLines(LogFile()); }
  std::vector<std::wstring> TempVariables() const;

  // The package folder's setup.exe with `arguments`; its exit code once it has ended.
  uint32_t RunSetup(const std::wstring& arguments);
  // The package executable (stub and archive), as the build's pack step makes it; made once.
  static const std::wstring& Package();
  // Runs the package with the stub's `arguments`. The stub starts setup through the shell and
  // ends without waiting for it: the run is over once setup has logged the install's result
  // ("installation complete", "installation failed: ...") and has ended. `result` is that line.
  ::testing::AssertionResult RunPackage(const std::wstring& arguments, std::wstring& result);

  // Everything the install consists of, with the right values for `folder`.
  void ExpectInstalledAt(const std::wstring& folder);
  // Nothing of the product is left: no folder, no entry, no shortcut.
  void ExpectNothingInstalled();

  // Declared first so that it goes last: the prefix is cleaned after everything else.
  PrefixGuard guard_;
  uitest::ScratchFolder scratch_;
  std::wstring temp_;
  uitest::StartOptions options_;
};

}  // namespace setuptest
