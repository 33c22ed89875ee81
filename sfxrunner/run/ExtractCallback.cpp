#include "ExtractCallback.h"

#include <vector>

#include "ArchivePaths.h"
#include "Handles.h"
#include "Windows/PropVariant.h"

namespace {

HRESULT ReadProperty(IInArchive* archive, UInt32 index, PROPID id,
                     NWindows::NCOM::CPropVariant& value) {
  return archive->GetProperty(index, id, &value);
}

// Sets only the last-write time of a folder; a folder opens for writing with backup semantics.
void SetFolderTime(const std::wstring& path, const FILETIME& time) {
  UniqueHandle folder(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (folder.IsValid()) SetFileTime(folder.Get(), nullptr, nullptr, &time);
}

// Deletes whatever file is at `path`, read-only or not; nothing there is fine.
HRESULT DeleteExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return S_OK;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return DeleteFileW(path.c_str()) ? S_OK : E_FAIL;
}

}  // namespace

void CExtractCallbackSfxImp::Init(IInArchive* archive, const std::wstring& targetFolder,
                                  const std::wstring& defaultItemName,
                                  const FILETIME& defaultTime, UInt32 defaultAttributes) {
  archive_ = archive;
  targetFolder_ = WithTrailingSeparator(targetFolder);
  defaultItemName_ = defaultItemName;
  defaultTime_ = defaultTime;
  defaultAttributes_ = defaultAttributes;
  createdFolder_.clear();
  corrupt_ = false;
}

HRESULT CExtractCallbackSfxImp::Open_CheckBreak() { return S_OK; }
HRESULT CExtractCallbackSfxImp::Open_SetTotal(const UInt64*, const UInt64*) { return S_OK; }
HRESULT CExtractCallbackSfxImp::Open_SetCompleted(const UInt64*, const UInt64*) { return S_OK; }
HRESULT CExtractCallbackSfxImp::Open_Finished() { return S_OK; }

// There is no password to give: an archive with encrypted headers does not open.
HRESULT CExtractCallbackSfxImp::Open_CryptoGetTextPassword(BSTR*) { return E_ABORT; }

Z7_COM7F_IMF(CExtractCallbackSfxImp::SetTotal(UInt64)) { return S_OK; }
Z7_COM7F_IMF(CExtractCallbackSfxImp::SetCompleted(const UInt64*)) { return S_OK; }

Z7_COM7F_IMF(CExtractCallbackSfxImp::PrepareOperation(Int32 askExtractMode)) {
  extractMode_ = askExtractMode == NArchive::NExtract::NAskMode::kExtract;
  return S_OK;
}

HRESULT CExtractCallbackSfxImp::ReadItemPath(UInt32 index) {
  NWindows::NCOM::CPropVariant path;
  RINOK(ReadProperty(archive_, index, kpidPath, path))
  if (path.vt == VT_EMPTY) {
    itemPath_ = defaultItemName_;
  } else if (path.vt == VT_BSTR) {
    itemPath_ = path.bstrVal;
    if (itemPath_.empty()) itemPath_ = defaultItemName_;
  } else {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT CExtractCallbackSfxImp::ReadItemProperties(UInt32 index) {
  NWindows::NCOM::CPropVariant attributes;
  RINOK(ReadProperty(archive_, index, kpidAttrib, attributes))
  if (attributes.vt == VT_EMPTY) {
    itemAttributes_ = defaultAttributes_;
  } else if (attributes.vt == VT_UI4) {
    itemAttributes_ = attributes.ulVal;
  } else {
    return E_FAIL;
  }

  NWindows::NCOM::CPropVariant isDir;
  RINOK(ReadProperty(archive_, index, kpidIsDir, isDir))
  if (isDir.vt == VT_BOOL) {
    itemIsDir_ = isDir.boolVal != VARIANT_FALSE;
  } else if (isDir.vt == VT_EMPTY) {
    itemIsDir_ = false;
  } else {
    return E_FAIL;
  }

  NWindows::NCOM::CPropVariant isAnti;
  RINOK(ReadProperty(archive_, index, kpidIsAnti, isAnti))
  itemIsAnti_ = isAnti.vt == VT_BOOL && isAnti.boolVal != VARIANT_FALSE;

  NWindows::NCOM::CPropVariant time;
  RINOK(ReadProperty(archive_, index, kpidMTime, time))
  if (time.vt == VT_EMPTY) {
    itemTime_ = defaultTime_;
  } else if (time.vt == VT_FILETIME) {
    itemTime_ = time.filetime;
  } else {
    return E_FAIL;
  }
  return S_OK;
}

// True when `folder` (no trailing backslash) is `createdFolder_` or one of the folders above it.
bool CExtractCallbackSfxImp::IsCreatedFolder(const std::wstring& folder) const {
  return createdFolder_.size() > folder.size() &&
         createdFolder_.compare(0, folder.size(), folder) == 0 &&
         createdFolder_[folder.size()] == L'\\';
}

// Each level is made in turn below the target folder; with `reuseCreated`, levels an earlier
// item made are taken as they are. Folder errors are left to the file creation that follows,
// which fails if it matters.
void CExtractCallbackSfxImp::CreateItemFolders(bool reuseCreated) {
  if (itemIsAnti_) return;
  std::vector<std::wstring> folders = SplitItemPath(itemPath_);
  if (!itemIsDir_) folders.pop_back();
  std::wstring folder = targetFolder_;
  bool created = false;
  for (const std::wstring& part : folders) {
    folder += part;
    if (!reuseCreated || !IsCreatedFolder(folder)) {
      CreateDirectoryW(folder.c_str(), nullptr);
      created = true;
    }
    folder += L'\\';
  }
  if (created) createdFolder_ = folder;
}

HRESULT CExtractCallbackSfxImp::PrepareFolderItem() {
  if (itemIsAnti_) {
    RemoveDirectoryW(diskPath_.c_str());
    createdFolder_.clear();
  } else {
    SetFolderTime(diskPath_, itemTime_);
  }
  return S_OK;
}

// Nothing at the path is the common case: the file is made at once, without a look first.
// Otherwise whatever is there goes first, read-only or not.
HRESULT CExtractCallbackSfxImp::PrepareFileItem(ISequentialOutStream** outStream) {
  if (!itemIsAnti_ && OpenOutputFile(false, outStream) == S_OK) return S_OK;
  RINOK(DeleteExistingFile(diskPath_))
  if (itemIsAnti_) return S_OK;
  if (OpenOutputFile(true, outStream) == S_OK) return S_OK;
  // A folder made for an earlier item may have gone since: every level is made again, once.
  if (createdFolder_.empty()) return E_FAIL;
  CreateItemFolders(false);
  return OpenOutputFile(true, outStream);
}

HRESULT CExtractCallbackSfxImp::OpenOutputFile(bool replace, ISequentialOutStream** outStream) {
  outFileStreamSpec_ = new COutFileStream;
  CMyComPtr<ISequentialOutStream> stream(outFileStreamSpec_);
  const bool opened = replace ? outFileStreamSpec_->Create_ALWAYS(diskPath_.c_str())
                              : outFileStreamSpec_->Create_NEW(diskPath_.c_str());
  if (!opened) {
    outFileStreamSpec_ = nullptr;
    return E_FAIL;
  }
  outFileStream_ = stream;
  *outStream = stream.Detach();
  return S_OK;
}

Z7_COM7F_IMF(CExtractCallbackSfxImp::GetStream(UInt32 index, ISequentialOutStream** outStream,
                                               Int32 askExtractMode)) {
  *outStream = nullptr;
  outFileStream_.Release();
  outFileStreamSpec_ = nullptr;

  RINOK(ReadItemPath(index))
  // Stored paths come from whoever made the archive: none may lead out of the target folder.
  if (!IsSafeItemPath(itemPath_)) return E_FAIL;
  if (askExtractMode != NArchive::NExtract::NAskMode::kExtract) return S_OK;

  RINOK(ReadItemProperties(index))
  // A folder item makes every level itself, so that its time lands on a folder that exists.
  CreateItemFolders(!itemIsDir_);
  diskPath_ = targetFolder_ + itemPath_;

  if (itemIsDir_) return PrepareFolderItem();
  return PrepareFileItem(outStream);
}

HRESULT CExtractCallbackSfxImp::CloseOutputFile() {
  outFileStreamSpec_->SetMTime(&itemTime_);
  const HRESULT closed = outFileStreamSpec_->Close();
  outFileStream_.Release();
  outFileStreamSpec_ = nullptr;
  return closed;
}

Z7_COM7F_IMF(CExtractCallbackSfxImp::SetOperationResult(Int32 opRes)) {
  if (opRes != NArchive::NExtract::NOperationResult::kOK) {
    outFileStream_.Release();
    outFileStreamSpec_ = nullptr;
    if (opRes != NArchive::NExtract::NOperationResult::kUnsupportedMethod) corrupt_ = true;
    return E_FAIL;
  }
  if (outFileStream_) RINOK(CloseOutputFile())
  if (extractMode_) SetFileAttributesW(diskPath_.c_str(), itemAttributes_);
  return S_OK;
}
