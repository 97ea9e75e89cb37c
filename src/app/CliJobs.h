#pragma once
// Several input files of one tidemar-cli command worked on side by side: a small pool of
// threads, one file at a time each, as many threads as cores unless --jobs says.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tidemar::cli {

// The cores of the machine (at least 1).
int DefaultJobCount();

// Reads the value of --jobs: a whole number above 0 (more threads than files are never
// started). False for anything else.
bool ParseJobCount(const std::string& text, int& jobs);

// Calls work(i) for every i below count on at most `jobs` threads, in the order of i as
// threads come free; returns the largest status any call gave (0 when count is 0).
int RunJobs(size_t count, int jobs, const std::function<int(size_t)>& work);

// The output folder of each input when several files share --out DIR: DIR/<name of the
// file without its extension>. Empty, with the message on stderr, when two inputs would
// share a folder.
std::vector<std::string> PerInputFolders(const std::string& outDir, const std::vector<std::string>& inputs);

}  // namespace tidemar::cli
