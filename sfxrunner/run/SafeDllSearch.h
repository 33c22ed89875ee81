#pragma once
// Libraries loaded by name come from the system folder only: a DLL planted beside a
// downloaded package, or in the current folder, is never picked up.
void RestrictDllSearchToSystemFolder();
