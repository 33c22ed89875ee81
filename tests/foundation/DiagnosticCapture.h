#pragma once
// Collects the foundation's diagnostic lines while it lives (tests run one at a time).
#include <string>
#include <vector>

#include "VTDebug.h"

class DiagnosticCapture {
 public:
  DiagnosticCapture();
  ~DiagnosticCapture();
  const std::vector<std::string>& Lines() const;
  // The diagnostic lines without the format-string echo that follows each one.
  std::vector<std::string> Messages() const;

 private:
  veltrano::DiagnosticSink previous_;
};
