#include "DiagnosticCapture.h"

namespace {
std::vector<std::string> g_lines;
void Collect(const char* line) { g_lines.emplace_back(line); }
}  // namespace

DiagnosticCapture::DiagnosticCapture() : previous_(veltrano::SetDiagnosticSink(&Collect)) {
  g_lines.clear();
}

DiagnosticCapture::~DiagnosticCapture() { veltrano::SetDiagnosticSink(previous_); }

const std::vector<std::string>& DiagnosticCapture::Lines() const { return g_lines; }

std::vector<std::string> DiagnosticCapture::Messages() const {
  std::vector<std::string> messages;
  for (size_t i = 0; i < g_lines.size(); i += 2) messages.push_back(g_lines[i]);
  return messages;
}
