#pragma once
// A record of the hidden partial files this process is writing, kept in a folder the program
// chooses (its cache folder): one small file per process, naming each partial output while it is
// written. A process killed mid-export (a power cut, SIGKILL) cannot remove its partial files;
// its record stays, and the next start removes what the record names.
#include <string>

namespace kestrel::engine {

// Where records are kept; until it is set nothing is recorded. Set once, at start.
void setOutputsInProgressFolder(const std::string& folder);

// Called by the output file as a partial file appears and as it is renamed into place or removed.
void noteOutputStarted(const std::string& partial_path);
void noteOutputEnded(const std::string& partial_path);

// Removes the partial files named by the records of processes that no longer run, and those
// records; the records of running processes stay. Only files named as the engines name their
// partial outputs are removed. Returns how many files were removed.
int removeOutputsOfEndedProcesses(const std::string& folder);

}  // namespace kestrel::engine
