#include "extract/command_line.h"

#include "core/paths.h"
#include "core/text.h"

void BuildCommandLine(char (&line)[kCommandLineSize], const char* command, const char* archive,
                      const char* destination)
{
    BoundedCopy(line, command, sizeof line);
    BoundedAppend(line, archive, sizeof line);
    BoundedAppend(line, " ", sizeof line);
    BoundedAppend(line, destination, sizeof line);
    EnsureTrailingBackslash(line, sizeof line);
}
