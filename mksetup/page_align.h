#pragma once
// Puts an installer's resource data on a page boundary of its file. Wine
// maps a section of an executable from the file only when the section's
// data starts on a page; otherwise it reads the whole section into memory at
// start-up, the payload with it. (Windows maps the image in any case.) Pure.
#include <string>

// Whether `image` is a PE image whose headers can be read: every header,
// the data directories and the section table inside the file, and inside
// the sizes the headers give; each section's data inside the file.
bool IsReadableImage(const std::string& image);

// Inserts zeros before the ".rsrc" section's data of the PE image `image`
// so that the data starts at a multiple of 4096, and moves the file offsets
// of that section and the ones after it; a checksum is computed anew.
// Returns false and leaves `image` as it was when it is not a PE image it
// can change safely: not readable (above), no ".rsrc", a certificate, debug data or a symbol
// table (file offsets this does not move).
bool AlignResourceData(std::string& image);
