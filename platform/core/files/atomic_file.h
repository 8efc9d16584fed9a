// Whole-file reads and crash-safe replacement of small files (INI files, the
// registry's hive files, desktop entries).
#pragma once

#include <functional>
#include <string>

namespace glider::core {

// Creates the folder and every missing parent (mode 0700 for new ones).
bool MakeFolders(const std::string& path);

// False when the file cannot be read; a missing file reads as empty with exists false.
bool ReadWholeFile(const std::string& path, std::string& content, bool& exists);

// Writes a temporary file in the same folder, flushes it to disk and renames it over
// the file, so a reader sees the old or the new content, never a part. A failure
// leaves the old file as it was and sets the last error.
bool ReplaceFileAtomically(const std::string& path, const std::string& content);

// Read-modify-write under an exclusive advisory lock on "<path>.lock", so writers in
// other processes see each other's changes. `edit` gets the current content (empty
// when the file is missing) and returns false to leave the file untouched; the file
// is not rewritten when the content stays the same.
bool UpdateFileLocked(const std::string& path,
                      const std::function<bool(std::string& content, bool exists)>& edit);

}  // namespace glider::core
