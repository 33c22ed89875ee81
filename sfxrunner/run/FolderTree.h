#pragma once
// Deleting a folder with everything in it, and removing what is left of it once files that
// other processes still held open have really gone. Neither routine ever enters a directory
// junction or symbolic link: a link is removed as an entry, its target stays untouched.
#include <cstdint>
#include <string>

#include "VTStatus.h"

using veltrano::Status;

// Deletes every file and folder below `folder`, then `folder` itself; carries on after a
// failed entry and returns the first error. Returns kFolderStillBusy when only files that are
// waiting for deletion (still open elsewhere) keep folders from going; that answer needs
// `keptFiles`. Each given counter is set: files waiting for deletion, files that could not be
// deleted, folders that stayed.
Status DeleteFolderTree(const std::wstring& folder, uint32_t* keptFiles, uint32_t* failedFiles,
                        uint32_t* keptFolders);

// Removes `folder` and its sub-folders where they hold no files any more; files are never
// deleted. A missing folder is no error. `remaining`, when given, counts the folders that stay.
Status RemoveEmptyFolderTree(const std::wstring& folder, uint32_t* remaining);
