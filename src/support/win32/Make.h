#pragma once
// basMake: folders and whole text files on disk.
#include <string>

namespace tolvane {

// Creates every missing level of a folder path (pieces between backslashes;
// the first piece, normally the drive, is left alone). Existing levels stay.
// VbError with the platform's number when a level cannot be created;
// the runtime's out-of-range error for the empty text.
void MakeFolders(const std::wstring& path);

// Writes the text and a final CR LF as the whole file, in the ANSI code page,
// creating its folders. The file is replaced only once the new content is
// safely on disk: on any failure the old file stays as it was and VbError
// describes the problem (also for a character the code page cannot hold).
// The result has the archive attribute alone.
void MakeTextFile(const std::wstring& path, const std::wstring& text);

// Writes the bytes as the whole file, as they are, by the same safe replace.
void MakeFile(const std::wstring& path, const std::string& bytes);

}  // namespace tolvane
