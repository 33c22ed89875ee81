#pragma once
// Command identifiers shared by the programs' windows.
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141  // "close and quit", also sent from outside the program
#endif
