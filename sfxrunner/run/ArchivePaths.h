#pragma once
// Item paths of the payload archive and the folder paths they are written under.
#include <string>
#include <vector>

// `folder` with a trailing backslash; a folder that already ends in "\" or "/" is unchanged.
std::wstring WithTrailingSeparator(const std::wstring& folder);

// `name` inside `folder`, with one separator between them; an empty folder leaves `name` as it
// is.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// The non-empty parts of an item path, split at "\" and "/".
std::vector<std::wstring> SplitItemPath(const std::wstring& itemPath);

// True when the item path names a place inside the folder it is extracted to: not rooted, no
// UNC or drive prefix, no stream name (":"), no part that walks up (".." and friends).
bool IsSafeItemPath(const std::wstring& itemPath);
