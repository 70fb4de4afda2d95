// Linux commands run from a test, through the Linux shell Wine can start.
#pragma once
#include <string>

namespace testpaths {

// Runs a shell command line, in UTF-8 as Linux takes it (UnixPath's paths are), and gives what it
// wrote on its standard output ("" when it could not be started, or wrote nothing within a minute);
// its exit status is not known: check what it wrote.
std::string RunUnix(const std::string& command);

} // namespace testpaths
