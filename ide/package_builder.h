#pragma once
// Compiles the product's package sources with the IDE's own command-line
// tools and puts the results into the Windows system folder.
#include <string>

#include "state/ide_table.h"

// Builds `sourcePath` with the tools of `kind` in the source's folder. On
// success moves the result into `targetDir` (its path into `outBuiltPath`,
// untouched for a source of unknown kind) and deletes the by-products; on
// failure `outMessage` holds the lines of the tool's output worth showing
// (none when the edition is not installed: then nothing is run).
bool BuildPackage(IdeKind kind, const std::string& sourcePath, const std::string& targetDir, std::string& outMessage,
                  std::string& outBuiltPath);

// The BUILDPACKAGES step: builds each listed source that was installed,
// records and registers what it built. The first failure is shown to the
// user and then throws AbortError, which ends the installation.
void BuildPackages();

// For D5 and C5: the IDE's Source\ToolsApi\dsgnintf.pas copied into its
// Lib\ folder, where packages that use it look for it; an existing copy stays.
void CopyDesignIntfSource();
