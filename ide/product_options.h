#pragma once
// The product's option include file, units\prod.inc in the installation
// folder, brought in line with the sub-products the product record names
// (the records read them and pass them in).
#include <string>

class StringList;

// Rewrites the define lines of the file from `installedOptions` (sub-product
// names); nothing
// when `installDir` is empty or the file is not there. Throws FileError
// "Cannot open file <path>" or "Cannot create file <path>".
void UpdateProductOptions(const StringList& installedOptions, const std::string& installDir);
