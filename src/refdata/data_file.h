// Locating and reading the reference data file: a 16-byte header and one zlib stream that
// inflates to the text of the file.
#ifndef GEOXFORM_DATA_FILE_H
#define GEOXFORM_DATA_FILE_H

#include <cstddef>
#include <cstdint>

#include "geoxform/defs.h"

namespace gx {

// Room for a path of at most 2047 characters and its NUL.
const size_t kMaxDataPath = 2048;

// Declared lengths above this are refused: the shipped text has 867,850 bytes, and a corrupt
// header or a stream of millions of repeated lines must not make the reader allocate
// gigabytes.
const uint32_t kMaxDataLength = 16u << 20;

// The full name of the reference data file: in the directory pszPath, or, when it is null or
// empty, in Support beside the library. False when the library's directory is unknown or the
// name does not fit in kMaxDataPath units (a cut name could open some other file).
bool DataFileName(const KQWCHAR* pszPath, KQWCHAR (&name)[kMaxDataPath]);

// Reads the file, checks its header and inflates its stream. Returns the text in a block from
// malloc, NUL-terminated, that the caller frees; null when the file cannot be opened, the
// header is wrong, a length is refused, or the stream does not inflate to exactly the
// declared text length.
char* ReadDataFileText(const KQWCHAR* pszFileName);

} // namespace gx

#endif
