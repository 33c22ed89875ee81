#pragma once
// The archive library's view of the extraction: it asks for one output file per item and
// reports each item's result; open progress arrives here too and is ignored.
// The archive library's headers need its "Common/Common.h" before anything else.
#include "Common/Common.h"

#include <windows.h>

#include <string>

#include "Common/MyCom.h"
#include "7zip/Archive/IArchive.h"
#include "7zip/Common/FileStreams.h"
#include "7zip/UI/Common/ArchiveOpenCallback.h"

class CExtractCallbackSfxImp final : public IArchiveExtractCallback,
                                     public IOpenCallbackUI,
                                     public CMyUnknownImp {
  // IUnknown only: no password interface, so an encrypted item fails.
  Z7_COM_UNKNOWN_IMP_SPEC(Z7_COM_QI_ENTRY_UNKNOWN(IArchiveExtractCallback))
  Z7_IFACE_COM7_IMP(IProgress)
  Z7_IFACE_COM7_IMP(IArchiveExtractCallback)

 public:
  Z7_IFACE_IMP(IOpenCallbackUI)

  // Starts a run over `archive`; `targetFolder` gets a trailing backslash if it has none.
  void Init(IInArchive* archive, const std::wstring& targetFolder,
            const std::wstring& defaultItemName, const FILETIME& defaultTime,
            UInt32 defaultAttributes);

  // An item failed for a reason other than an unsupported method (data, CRC, ...).
  bool IsCorrupt() const { return corrupt_; }

 private:
  HRESULT ReadItemPath(UInt32 index);
  HRESULT ReadItemProperties(UInt32 index);
  void CreateItemFolders(bool reuseCreated);
  bool IsCreatedFolder(const std::wstring& folder) const;
  HRESULT PrepareFolderItem();
  HRESULT PrepareFileItem(ISequentialOutStream** outStream);
  HRESULT OpenOutputFile(bool replace, ISequentialOutStream** outStream);
  HRESULT CloseOutputFile();

  CMyComPtr<IInArchive> archive_;
  std::wstring targetFolder_;
  std::wstring itemPath_;
  std::wstring diskPath_;
  bool extractMode_ = false;
  FILETIME itemTime_{};
  UInt32 itemAttributes_ = 0;
  bool itemIsDir_ = false;
  bool itemIsAnti_ = false;
  COutFileStream* outFileStreamSpec_ = nullptr;
  CMyComPtr<ISequentialOutStream> outFileStream_;
  // The deepest folder made level by level for an earlier item of this run (trailing
  // backslash), or empty; a file item below it needs no folder calls.
  std::wstring createdFolder_;
  std::wstring defaultItemName_;
  FILETIME defaultTime_{};
  UInt32 defaultAttributes_ = 0;
  bool corrupt_ = false;
};
