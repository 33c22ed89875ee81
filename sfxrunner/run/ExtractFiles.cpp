#include "Common/Common.h"

#include "ExtractFiles.h"

#include "7zip/UI/Common/LoadCodecs.h"
#include "7zip/UI/Common/OpenArchive.h"
#include "ArchivePaths.h"
#include "ExtractCallback.h"
#include "VTWinModuleFileName.h"
#include "Windows/FileFind.h"

using namespace veltrano;

namespace {

constexpr UInt32 kAllItems = 0xFFFFFFFF;

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WithoutTrailingSeparators(std::wstring folder) {
  while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return folder;
}

// Creates `folder` and every missing folder above it; an existing folder is fine.
Status CreateFolderTree(const std::wstring& folder) {
  if (IsFolder(folder)) return status::kOk;
  if (CreateDirectoryW(folder.c_str(), nullptr)) return status::kOk;
  DWORD error = GetLastError();
  if (error != ERROR_PATH_NOT_FOUND) return error;
  const size_t lastSeparator = folder.find_last_of(L"\\/");
  if (lastSeparator == std::wstring::npos || lastSeparator == 0) return error;
  VT_RETURN_IF_FAILED(CreateFolderTree(WithoutTrailingSeparators(folder.substr(0, lastSeparator))));
  if (CreateDirectoryW(folder.c_str(), nullptr)) return status::kOk;
  error = GetLastError();
  return error == ERROR_ALREADY_EXISTS && IsFolder(folder) ? status::kOk : error;
}

// The library finds the 7z archive behind the executable image by its signature.
HRESULT OpenArchive(CArchiveLink& link, CCodecs& codecs, const std::wstring& path,
                    IOpenCallbackUI* openCallback) {
  const CObjectVector<COpenType> requiredFormats;
  const CIntVector excludedFormats;
  COpenOptions options;
  options.codecs = &codecs;
  options.types = &requiredFormats;
  options.excludedFormats = &excludedFormats;
  options.filePath = path.c_str();
  const HRESULT opened = link.Open3(options, openCallback);
  if (opened != S_OK) return opened;
  return link.Arcs.IsEmpty() ? E_FAIL : S_OK;
}

}  // namespace

ExtractFiles::ExtractFiles() : Task(L"Files are being extracted. Please wait...") {}

Status ExtractFiles::ResolveSourcePath(std::wstring& path) const {
  if (!sourcePath.empty()) {
    path = sourcePath;
    return status::kOk;
  }
  VTWinModuleFileName self;
  VT_RETURN_IF_FAILED(self.InitWithModuleHandle());
  path = self.fullPath;
  return status::kOk;
}

Status ExtractFiles::Run(uint32_t* exitValue) {
  if (exitValue != nullptr) *exitValue = 0;
  std::wstring archivePath;
  VT_RETURN_IF_FAILED(ResolveSourcePath(archivePath));

  NWindows::NFile::NFind::CFileInfo archiveFile;
  if (!archiveFile.Find(archivePath.c_str())) return status::kFailed;

  CCodecs* codecs = new CCodecs;
  CMyComPtr<IUnknown> codecsHolder(codecs);
  if (codecs->Load() != S_OK) return status::kFailed;

  CExtractCallbackSfxImp* callbackSpec = new CExtractCallbackSfxImp;
  CMyComPtr<IArchiveExtractCallback> callback(callbackSpec);
  CArchiveLink link;
  if (OpenArchive(link, *codecs, archivePath, callbackSpec) != S_OK) return status::kFailed;

  const std::wstring target = WithTrailingSeparator(targetFolder);
  VT_RETURN_IF_FAILED(CreateFolderTree(WithoutTrailingSeparators(target)));

  IInArchive* archive = link.GetArchive();
  callbackSpec->Init(archive, target, L"Default", archiveFile.MTime, 0);
  const HRESULT extracted = archive->Extract(nullptr, kAllItems, 0, callback);
  link.Close();
  if (extracted != S_OK || callbackSpec->IsCorrupt()) return status::kFailed;
  return status::kOk;
}
