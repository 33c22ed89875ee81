#pragma once
// What the test program argrecorder.exe reads and writes. A launched program for tests: it
// records how it was started, then ends with a chosen exit code.
//
// Environment variables it reads:
//   VT_RECORD_FILE   path of the record to write (UTF-8); unset or empty: nothing is written.
//                    The record appears whole: it is written beside and then renamed.
//   VT_EXIT_CODE     exit code, decimal ("3") or hexadecimal with 0x ("0xEE001234"), all
//                    32 bits; unset: 0.
//   VT_SLEEP_MS      milliseconds to wait after writing the record, before ending.
//   VT_HOLD_FILE_MS  when above 0: first start a second copy of this program that creates the
//                    file VT_HOLD_FILE_NAME in the current folder and keeps it open this long;
//                    the first copy goes on only once the file is open.
//   VT_HOLD_FILE_NAME        name (or path) of the held file; default "argrecorder-held.txt".
//   VT_HOLD_FILE_SHARE_DELETE "1": the file is opened with delete sharing (deleting it then
//                    only marks it); otherwise read sharing only (deleting it fails).
//
// Record lines, "Key=value", in this order:
//   CommandLine=<GetCommandLineW()>
//   Program=<its own module path>
//   CurrentFolder=<GetCurrentDirectoryW()>
//   ProcessId=<decimal>
//   ArgumentCount=<number of arguments after the program name>
//   Argument=<one line per argument, as the C run-time parsed it>
//   HolderProcessId=<decimal>   only when a holding copy was started

namespace argrecorder {

constexpr const wchar_t* kRecordFileVariable = L"VT_RECORD_FILE";
constexpr const wchar_t* kExitCodeVariable = L"VT_EXIT_CODE";
constexpr const wchar_t* kSleepMsVariable = L"VT_SLEEP_MS";
constexpr const wchar_t* kHoldFileMsVariable = L"VT_HOLD_FILE_MS";
constexpr const wchar_t* kHoldFileNameVariable = L"VT_HOLD_FILE_NAME";
constexpr const wchar_t* kHoldFileShareDeleteVariable = L"VT_HOLD_FILE_SHARE_DELETE";
// Set by the first copy for the holding copy: the name of the event it signals once the file
// is open. Not for callers.
constexpr const wchar_t* kHolderReadyEventVariable = L"VT_HOLDER_READY_EVENT";

constexpr const wchar_t* kDefaultHeldFileName = L"argrecorder-held.txt";

// Exit codes of its own failures; chosen so that no test asks for them.
constexpr unsigned long kRecordFailedExitCode = 0xEE00FF01;
constexpr unsigned long kBadSettingExitCode = 0xEE00FF02;
constexpr unsigned long kHolderFailedExitCode = 0xEE00FF03;

}  // namespace argrecorder
