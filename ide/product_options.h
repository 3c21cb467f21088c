#pragma once
// The product's option include file, units\prod.inc in the installation
// folder, brought in line with the sub-products in the product record.
#include <string>

class StringList;

// Rewrites the define lines of the file from the installed options; nothing
// when `installDir` is empty or the file is not there. Raises FileError
// "Cannot open file <path>" or "Cannot create file <path>".
void UpdateProductOptions(const std::string& productName, const std::string& installDir);

// The names of the product record's values other than "Version" and
// "FolderName", in the registry's order, blanks kept; empty without a record.
void GetInstalledOptions(const std::string& productName, StringList& list);
