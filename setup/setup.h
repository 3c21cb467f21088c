#pragma once
// The entry point's work and the twelve steps of an installation run.
#include <string>

// Start-up, the steps, and the one failure handler; the process exit code.
int RunSetup();

void RunInstallSteps();
bool ConfirmWelcome();
bool PreviousVersionGate();
bool RunningIdeGate();
bool ChooseDestination(std::string& dir);
// The payload placed into `destDir`, then the product record written and the
// packages built and registered; false when the payload could not be staged
// or extracted.
bool InstallPayload(const std::string& destDir);
void RunAfterInstall();

// The "Setup" box that ends a run whose payload step failed.
void ReportExtractionFailure();

// Tells the user that `dir` cannot be a destination (empty or not a full path).
void RefuseDestination(const std::string& dir);
