#pragma once
// The product record under the maker's key: written after a successful
// extraction, read at start-up; and the check for the uninstall entry.
#include <string>

class StringList;

enum ProductCheckResult : unsigned char {
  ProductNotInstalled = 0,    // no product name, or no record for it
  OtherVersionInstalled = 1,  // a record of another internal version
  SameVersionInstalled = 2,   // a record of this internal version
};

// Writes "Version", "FolderName" and one empty value per sub-product, then
// rewrites the product's option include file. Nothing for an empty name.
// Throws RegistryError "Failed to set data for '<name>'".
void WriteProductRecord(const std::string& productName, const std::string& subProductNames, const std::string& version,
                        const std::string& installDir);

// The names of the product record's values other than "Version" and
// "FolderName", in the registry's order, blanks kept; empty without a record.
void GetInstalledOptions(const std::string& productName, StringList& list);

// `folder` becomes the recorded folder for SameVersionInstalled and empty
// otherwise; it is left alone for an empty product name.
ProductCheckResult CheckInstalledProduct(const std::string& productName, const std::string& version,
                                         std::string& folder);

// True when the uninstall entry of `appName` exists and opens with full access.
bool IsUninstallEntryPresent(const std::string& appName);

// Shows the previous-version warning; true when the user goes on (OK).
bool ConfirmOverPreviousVersion(const std::string& appName);

// True when installation may go on: no uninstall entry, or OK to the warning.
bool ConfirmNoPreviousVersion(const std::string& appName);
