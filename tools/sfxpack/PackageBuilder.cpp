#include "PackageBuilder.h"

#include <vector>

#include "PackHandles.h"
#include "ResourceSet.h"
#include "resource.h"  // the stub's: where its configuration resource is

namespace sfxpack {
namespace {

constexpr DWORD kCopyChunkSize = 1 << 20;

HANDLE OpenForReading(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

Status ReadWholeFile(const std::wstring& path, std::vector<BYTE>& bytes, const wchar_t* action,
                     PackFailure& failure) {
  FileHandle file(OpenForReading(path));
  LARGE_INTEGER size = {};
  if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size)) {
    return FailWithLastError(failure, action, path);
  }
  if (size.QuadPart > MAXDWORD) return Fail(failure, ERROR_FILE_TOO_LARGE, action, path);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    return FailWithLastError(failure, action, path);
  }
  return veltrano::status::kOk;
}

// Copies everything that is left in `source` to the end of `target`.
Status CopyRest(HANDLE source, const std::wstring& sourcePath, HANDLE target,
                const std::wstring& targetPath, PackFailure& failure) {
  std::vector<BYTE> chunk(kCopyChunkSize);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(source, chunk.data(), kCopyChunkSize, &read, nullptr)) {
      return FailWithLastError(failure, L"cannot read", sourcePath);
    }
    if (read == 0) return veltrano::status::kOk;
    DWORD written = 0;
    if (!WriteFile(target, chunk.data(), read, &written, nullptr) || written != read) {
      return FailWithLastError(failure, L"cannot write the package", targetPath);
    }
  }
}

// Refuses a stub that is no executable image before anything is written: the resource
// update would fail on it without telling why.
Status CheckStubImage(const PackRequest& request, PackFailure& failure) {
  DataModule image(request.stubPath);
  if (image.Get() == nullptr)
    return FailWithLastError(failure, L"cannot use the stub", request.stubPath);
  return veltrano::status::kOk;
}

// A fresh copy of the stub under the temporary name.
Status CopyStub(const PackRequest& request, const TemporaryFile& temporary, PackFailure& failure) {
  FileHandle stub(OpenForReading(request.stubPath));
  if (!stub.IsValid()) return FailWithLastError(failure, L"cannot read the stub", request.stubPath);
  FileHandle copy(CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!copy.IsValid()) {
    return FailWithLastError(failure, L"cannot write the package", request.outputPath);
  }
  return CopyRest(stub.Get(), request.stubPath, copy.Get(), request.outputPath, failure);
}

Status ReplaceConfig(const PackRequest& request, const TemporaryFile& temporary,
                     const std::vector<BYTE>& document, PackFailure& failure) {
  constexpr wchar_t kAction[] = L"cannot store the configuration in the package";
  ResourceUpdate update(temporary.Path(), false);
  void* bytes = const_cast<BYTE*>(document.data());
  if (update.Get() == nullptr ||
      !UpdateResourceW(update.Get(), RT_RCDATA, MAKEINTRESOURCEW(IDR_SFX_CONFIG),
                       IDR_SFX_CONFIG_LANGUAGE, bytes, static_cast<DWORD>(document.size())) ||
      !update.Commit()) {
    return FailWithLastError(failure, kAction, request.outputPath);
  }
  return veltrano::status::kOk;
}

bool IsConfigResource(const ResourceEntry& entry) {
  return entry.type.IsNumber(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(RT_RCDATA))) &&
         entry.name.IsNumber(IDR_SFX_CONFIG) && entry.language == IDR_SFX_CONFIG_LANGUAGE;
}

// Every resource but the configuration is written back: removing one resource in place does
// not work everywhere (Wine keeps it).
Status RemoveConfig(const PackRequest& request, const TemporaryFile& temporary,
                    PackFailure& failure) {
  std::vector<ResourceEntry> entries;
  VT_RETURN_IF_FAILED(ReadResources(request.stubPath, entries, failure));
  std::vector<ResourceEntry> kept;
  for (ResourceEntry& entry : entries) {
    if (!IsConfigResource(entry)) kept.push_back(std::move(entry));
  }
  const Status result = WriteResources(temporary.Path(), kept, failure);
  if (result != veltrano::status::kOk) failure.path = request.outputPath;
  return result;
}

Status AppendArchive(const PackRequest& request, HANDLE archive, const TemporaryFile& temporary,
                     PackFailure& failure) {
  FileHandle package(CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER zero = {};
  if (!package.IsValid() || !SetFilePointerEx(package.Get(), zero, nullptr, FILE_END)) {
    return FailWithLastError(failure, L"cannot write the package", request.outputPath);
  }
  return CopyRest(archive, request.archivePath, package.Get(), request.outputPath, failure);
}

}  // namespace

Status BuildPackage(const PackRequest& request, PackFailure& failure) {
  // Inputs first: a missing document or archive must not cost a half-built package.
  std::vector<BYTE> document;
  if (request.configAction == ConfigAction::Replace) {
    VT_RETURN_IF_FAILED(ReadWholeFile(request.configPath, document,
                                      L"cannot read the configuration document", failure));
    // The resource update cannot store an empty resource, and the stub would not take one.
    if (document.empty()) {
      return FailBecause(failure, veltrano::status::kInvalidData,
                         L"cannot use the configuration document", request.configPath,
                         L"The file is empty.");
    }
  }
  FileHandle archive(request.archiveGiven ? OpenForReading(request.archivePath)
                                          : INVALID_HANDLE_VALUE);
  if (request.archiveGiven && !archive.IsValid()) {
    return FailWithLastError(failure, L"cannot read the archive", request.archivePath);
  }

  VT_RETURN_IF_FAILED(CheckStubImage(request, failure));

  // Beside the output, so that the final rename stays on one volume.
  TemporaryFile temporary(request.outputPath + L".sfxpack-" +
                          std::to_wstring(GetCurrentProcessId()) + L".tmp");
  VT_RETURN_IF_FAILED(CopyStub(request, temporary, failure));

  // Resources before the archive: updating them rewrites the image and drops what follows it.
  if (request.configAction == ConfigAction::Replace) {
    VT_RETURN_IF_FAILED(ReplaceConfig(request, temporary, document, failure));
  } else if (request.configAction == ConfigAction::Remove) {
    VT_RETURN_IF_FAILED(RemoveConfig(request, temporary, failure));
  }
  if (archive.IsValid()) {
    VT_RETURN_IF_FAILED(AppendArchive(request, archive.Get(), temporary, failure));
  }

  if (!MoveFileExW(temporary.Path().c_str(), request.outputPath.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return FailWithLastError(failure, L"cannot write the package", request.outputPath);
  }
  temporary.Keep();
  return veltrano::status::kOk;
}

}  // namespace sfxpack
