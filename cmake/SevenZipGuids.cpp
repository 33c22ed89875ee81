// 7-Zip's interface identifiers are declared in its headers but defined in no library source:
// this unit instantiates them, exactly once per program.
#include "Common/Common.h"
#include "Common/MyInitGuid.h"
#include "7zip/ICoder.h"
#include "7zip/IStream.h"
#include "7zip/IProgress.h"
#include "7zip/IPassword.h"
#include "7zip/Archive/IArchive.h"
