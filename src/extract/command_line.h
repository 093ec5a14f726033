// The command line handed to an archiver library. No platform calls.
#pragma once

enum { kCommandLineSize = 1024 };

// command, archive, a blank, destination, then a trailing backslash unless
// the destination has one. Paths go in unquoted: the libraries take the text
// after the command as two paths and do not understand quotation marks.
// Cut silently at kCommandLineSize.
void BuildCommandLine(char (&line)[kCommandLineSize], const char* command, const char* archive,
                      const char* destination);
