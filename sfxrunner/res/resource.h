#pragma once
// Resource identifiers of the stub.
#define IDI_SFXRUNNER 1
#define IDR_SFX_CONFIG 222
